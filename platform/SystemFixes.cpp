#include "platform/SystemFixes.h"

#include "platform/DebugLog.h"

#include <QByteArray>
#include <QSysInfo>

namespace quillon {

namespace {

const QString kCdromKey = QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Cdrom");
const QString kScsiEnumKey = QStringLiteral("\\Enum\\SCSI");
const QString kAspiKey = QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Aspi32");
const QString kAspiParametersKey =
    QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Aspi32\\Parameters");

const QString kAutorunDisabled = QStringLiteral("Autorun disabled");
const QString kChangeRequired = QStringLiteral("System change required");
const QString kRestartRequired = QStringLiteral("System restart required");
const QString kErrorAccessing = QStringLiteral("Error accessing registry");
const QString kRecordSafely = QStringLiteral("CDs can be recorded safely. Please reboot.");
const QString kNtCannotModify =
    QStringLiteral("To record CDs Autorun feature should be disabled but I cannot modify registry.");
const QString kNinexCannotModify = QStringLiteral(
    "To record CDs \"Auto Insert Notification\" feature should be disabled but I cannot modify registry. "
    "Please open Control Panel, go to System - Device Manager - CD-ROM, double-click your recorder and "
    "deselect \"Auto Insert Notification\".");

FixResult disableOnNt(Registry &registry, Prompter &prompter, bool report)
{
    if (!registry.keyExists(kCdromKey)) {
        prompter.error(kNtCannotModify, kErrorAccessing);
        return FixResult::Failed;
    }
    const qint64 autoRun = registry.readInteger(kCdromKey, QStringLiteral("AutoRun")).value_or(0);
    if (report && autoRun == 0) {
        prompter.inform(QStringLiteral("CD autorun feature is disabled - CDs can be recorded safely."),
                        kAutorunDisabled);
        return FixResult::NotApplicable;
    }
    // The wizard's call (no report flag) asks even on a system already set, so that the user
    // sees the choice once during set-up.
    if (!prompter.confirm(
            QStringLiteral("To record CDs Autorun feature should be disabled. Do you wish to do it now?"),
            kChangeRequired))
        return FixResult::Declined;
    if (!registry.writeInteger(kCdromKey, QStringLiteral("AutoRun"), 0)) {
        prompter.error(kNtCannotModify, kErrorAccessing);
        return FixResult::Failed;
    }
    prompter.inform(kRecordSafely, kAutorunDisabled);
    return FixResult::Done;
}

// The recorder's key below "Enum\SCSI": its name holds vendor and product with blanks
// written as underscores ("HP______CD-WRITER+_9100_1.0C").
std::optional<QString> findDeviceKey(Registry &registry, const AutorunDrive &drive)
{
    const QString vendor = drive.vendor.toLower();
    const QString product = drive.product.toLower();
    for (const QString &name : registry.subKeys(kScsiEnumKey)) {
        const QString key = kScsiEnumKey + QLatin1Char('\\') + name;
        if (!registry.keyExists(key))
            continue;
        const QString spelled = name.toLower().replace(QLatin1Char('_'), QLatin1Char(' '));
        if (spelled.contains(vendor) && spelled.contains(product))
            return key;
    }
    return std::nullopt;
}

// The setting is read as the old service read it: up to four bytes, low byte first.
bool notificationEnabled(const std::optional<QByteArray> &value)
{
    if (!value || value->isEmpty() || value->size() > 4)
        return false;
    quint32 number = 0;
    for (qsizetype i = value->size(); i-- > 0;)
        number = (number << 8) | quint8(value->at(i));
    return number == 1;
}

FixResult disableOn9x(Registry &registry, Prompter &prompter, const AutorunDrive &drive, bool report)
{
    if (!registry.keyExists(kScsiEnumKey)) {
        prompter.error(kNinexCannotModify, kErrorAccessing);
        return FixResult::Failed;
    }
    const QString notification = QStringLiteral("AutoInsertNotification");
    int opened = 0;
    bool asked = false;
    bool written = false;
    if (const std::optional<QString> device = findDeviceKey(registry, drive)) {
        for (const QString &name : registry.subKeys(*device)) {
            const QString instance = *device + QLatin1Char('\\') + name;
            if (!registry.keyExists(instance))
                continue;
            ++opened;
            if (!notificationEnabled(registry.readBinary(instance, notification)))
                continue;
            if (!asked) {
                asked = true;
                if (!prompter.confirm(
                        QStringLiteral("To record CDs \"Auto Insert Notification\" feature should be "
                                       "disabled. Do you wish to do it now?"),
                        kChangeRequired))
                    return FixResult::Declined;
            }
            if (!registry.writeBinary(instance, notification, QByteArray(1, '\0'))) {
                prompter.error(kNinexCannotModify, kErrorAccessing);
                return FixResult::Failed;
            }
            if (!written) {
                written = true;
                prompter.inform(QStringLiteral("This setting will be effect after restart Windows."),
                                kRestartRequired);
            }
        }
    }
    if (opened == 0) {
        prompter.error(kNinexCannotModify, kErrorAccessing);
        return FixResult::Failed;
    }
    if (report)
        prompter.inform(kRecordSafely, kAutorunDisabled);
    return written ? FixResult::Done : FixResult::NotApplicable;
}

} // namespace

WindowsFamily CurrentWindowsFamily()
{
    // Every Windows that Qt runs on is of the NT family.
    return QSysInfo::kernelType() == QLatin1String("winnt") ? WindowsFamily::NT : WindowsFamily::NotWindows;
}

FixResult DisableCdAutorun(WindowsFamily family, Registry &registry, Prompter &prompter,
                           const std::optional<AutorunDrive> &drive, bool report)
{
    if (!drive)
        return FixResult::NotApplicable;
    switch (family) {
    case WindowsFamily::NT:
        return disableOnNt(registry, prompter, report);
    case WindowsFamily::Win9x:
        return disableOn9x(registry, prompter, *drive, report);
    case WindowsFamily::NotWindows:
        break;
    }
    // Desktops mount an inserted CD and may open a window for it, but nothing there takes
    // the drive away from the recording tools.
    if (report)
        prompter.inform(
            QStringLiteral("Desktop automounting of CDs does not disturb recording on this system; "
                           "nothing needs to be changed."),
            kAutorunDisabled);
    return FixResult::NotApplicable;
}

FixResult RepairAspiRegistry(Registry &registry, Prompter &prompter)
{
    if (!prompter.confirm(QStringLiteral("ASPI reports no CD/DVD drive. Should I modify registry to fix it?"),
                          QStringLiteral("Drives not detected")))
        return FixResult::Declined;
    if (registry.keyExists(kAspiParametersKey))
        return FixResult::NotApplicable;
    const bool written =
        registry.createKey(kAspiParametersKey) &&
        registry.writeString(kAspiParametersKey, QStringLiteral("ExcludeMiniports"), QString()) &&
        registry.writeInteger(kAspiKey, QStringLiteral("ErrorControl"), 1) &&
        registry.writeInteger(kAspiKey, QStringLiteral("Start"), 1);
    if (!written) {
        qCWarning(lcQuillon) << "the ASPI exclusion settings could not be written";
        prompter.error(QStringLiteral("I cannot modify ExcludeMiniports option!"),
                       QStringLiteral("Error writing to registry"));
        return FixResult::Failed;
    }
    prompter.inform(QStringLiteral("To see your CD/DVD drives please restart Windows."), kRestartRequired);
    return FixResult::Done;
}

} // namespace quillon
