#pragma once
// Where a tool command finds the recorder: what goes after "dev=" (and after mkisofs' -M).
// The drive list answers through RecorderDevices, which the main program connects.
#include <QChar>
#include <QString>
#include <functional>
#include <optional>

namespace quillon {

class OptionsModel;

class RecorderDevices {
public:
    virtual ~RecorderDevices() = default;
    // The tool's device argument for the drive at this position of the recorder list
    // (on Linux the device node), nothing when there is no such drive.
    virtual std::optional<QString> deviceForRecorder(int recorderIndex) const = 0;
    // The same for the drive shown under this letter.
    virtual std::optional<QString> deviceForLetter(QChar letter) const = 0;
    // The letter the drive at this position is shown under, nothing when there is none.
    virtual std::optional<QChar> letterForRecorder(int recorderIndex) const = 0;
};

// RecorderDevices over three functions, for wiring the drive list in.
class FunctionRecorderDevices : public RecorderDevices {
public:
    std::function<std::optional<QString>(int)> byIndex;
    std::function<std::optional<QString>(QChar)> byLetter;
    std::function<std::optional<QChar>(int)> letterOf;

    std::optional<QString> deviceForRecorder(int i) const override
    {
        return byIndex ? byIndex(i) : std::nullopt;
    }
    std::optional<QString> deviceForLetter(QChar l) const override
    {
        return byLetter ? byLetter(l) : std::nullopt;
    }
    std::optional<QChar> letterForRecorder(int i) const override
    {
        return letterOf ? letterOf(i) : std::nullopt;
    }
};

// A device argument, or the stand-in a command shows when there is no drive. A command holding
// the stand-in must never run: "0,0,0" is a real address on some machines.
struct DeviceAddress {
    QString text = QStringLiteral("0,0,0");
    bool known = false;

    static DeviceAddress none() { return {QStringLiteral("0,0,0"), false}; }
    static DeviceAddress of(const std::optional<QString> &device)
    {
        return device && !device->isEmpty() ? DeviceAddress{*device, true} : none();
    }
};

// The recorder selected in the options (ComboCDs).
DeviceAddress RecorderAddress(const OptionsModel &options, const RecorderDevices &devices);
// The drive holding the disc a new session continues.
DeviceAddress DriveAddress(QChar driveLetter, const RecorderDevices &devices);

} // namespace quillon
