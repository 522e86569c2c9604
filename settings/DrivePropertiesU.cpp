#include "settings/DrivePropertiesU.h"

#include "discaccess/ModePageCommands.h"
#include "platform/DebugLog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextStream>
#include <QVBoxLayout>

namespace quillon {

namespace {
constexpr std::uint32_t kSingleSpeed = 174080; // bytes per second of 1x, as the drives count it

// The flag lines: page byte, bit.
struct FlagRow {
    const char *label;
    int byte;
    int bit;
};
constexpr FlagRow kFlagRows[] = {
    {"Reads CD-R: ", 2, 0},     {"Reads CD-RW: ", 2, 1},    {"Reads packet tracks: ", 2, 2},
    {"Reads DVD-ROM: ", 2, 3},  {"Reads DVD-R: ", 2, 4},    {"Reads DVD-RAM: ", 2, 5},
    {"Writes CD-R: ", 3, 0},    {"Writes CD-RW: ", 3, 1},   {"Tests writing: ", 3, 2},
    {"Writes DVD-R: ", 3, 4},   {"Writes DVD-RAM: ", 3, 5}, {"Plays audio: ", 4, 0},
    {"Burnproof: ", 4, 7},      {"Reads CD-Text: ", -1, 0}, {"C2 error supported: ", 5, 4},
    {"Reads audio CD: ", 5, 0},
};
} // namespace

DrivePropertiesReport BuildDrivePropertiesReport(const QString &itemText, const QString &revision,
                                                 const disc::TModeSenseReply &reply,
                                                 const disc::TCDCapabilities &capabilities,
                                                 bool checkPageForCdText)
{
    const disc::CapabilitiesPage page(reply);
    DrivePropertiesReport r;
    r.lines << QStringLiteral("Drive  ") + itemText;
    r.drive = itemText;
    if (!revision.isEmpty())
        r.drive += QStringLiteral("  revision  ") + revision;
    r.lines << QString();
    for (const FlagRow &row : kFlagRows) {
        bool set = false;
        if (row.byte < 0) {
            set = capabilities.has(disc::capRwInLeadIn) || (checkPageForCdText && ((page.byte(5) >> 2) & 1));
        } else {
            set = (page.byte(std::size_t(row.byte)) >> row.bit) & 1;
        }
        r.flags.append({QLatin1String(row.label), set});
        r.lines << QLatin1String(row.label) + (set ? QStringLiteral("YES") : QStringLiteral("NO"));
    }
    const std::uint32_t read = std::uint32_t(page.maxReadSpeed()) * 1000;
    r.readSpeed = QString::number(read / kSingleSpeed) + QStringLiteral(" x");
    r.lines << QStringLiteral("Max read speed: %1 KB/s   (x %2)").arg(read >> 10).arg(read / kSingleSpeed);
    r.bufferSize = QString::number(page.bufferSizeKb()) + QStringLiteral(" KB");
    r.lines << QStringLiteral("Buffer size: ") + r.bufferSize;
    const std::uint32_t write = std::uint32_t(page.maxWriteSpeed()) * 1000;
    r.writeSpeed = QString::number(write / kSingleSpeed) + QStringLiteral(" x");
    r.lines << QStringLiteral("Max write speed: %1 KB/s   (x %2)").arg(write >> 10).arg(write / kSingleSpeed);
    return r;
}

TDlgDriveProperties::TDlgDriveProperties(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DlgDriveProperties"));
    setWindowTitle(QStringLiteral("Dive properties")); // the designed caption
    auto *layout = new QVBoxLayout(this);
    EditDrive = new QLineEdit(this);
    EditDrive->setObjectName(QStringLiteral("EditDrive"));
    EditDrive->setReadOnly(true);
    layout->addWidget(EditDrive);

    auto *grid = new QGridLayout;
    int n = 0;
    for (const FlagRow &row : kFlagRows) {
        auto *box = new QCheckBox(QString::fromLatin1(row.label).remove(QLatin1Char(':')).trimmed(), this);
        box->setAttribute(Qt::WA_TransparentForMouseEvents); // a check mark, not a choice
        box->setFocusPolicy(Qt::NoFocus);
        flagBoxes << box;
        grid->addWidget(box, n % 8, n / 8);
        ++n;
    }
    layout->addLayout(grid);

    auto *speeds = new QFormLayout;
    auto field = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setReadOnly(true);
        return e;
    };
    EditReadSpeed = field("EditReadSpeed");
    EditWriteSpeed = field("EditWriteSpeed");
    EditBufSize = field("EditBufSize");
    speeds->addRow(QStringLiteral("Max read speed"), EditReadSpeed);
    speeds->addRow(QStringLiteral("Max write speed"), EditWriteSpeed);
    speeds->addRow(QStringLiteral("Buffer size"), EditBufSize);
    layout->addLayout(speeds);

    RichEdit = new QPlainTextEdit(this);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setReadOnly(true);
    RichEdit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(RichEdit, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    BtnSave = buttons->addButton(QStringLiteral("Save"), QDialogButtonBox::ActionRole);
    BtnSave->setObjectName(QStringLiteral("BtnSave"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(BtnSave, &QPushButton::clicked, this, &TDlgDriveProperties::BtnSaveClick);
    layout->addWidget(buttons);
    resize(520, 560);
}

TDlgDriveProperties::~TDlgDriveProperties() = default;

void TDlgDriveProperties::fill(const DrivePropertiesReport &report)
{
    EditDrive->setText(report.drive);
    for (int i = 0; i < flagBoxes.size() && i < report.flags.size(); ++i)
        flagBoxes[i]->setChecked(report.flags[i].set);
    EditReadSpeed->setText(report.readSpeed);
    EditWriteSpeed->setText(report.writeSpeed);
    EditBufSize->setText(report.bufferSize);
    RichEdit->setPlainText(report.lines.join(QLatin1Char('\n')));
}

bool TDlgDriveProperties::saveReport(const QString &fileName) const
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qCWarning(lcQuillon) << "drive report not written:" << fileName << file.errorString();
        return false;
    }
    QTextStream out(&file);
    for (const QString &line : RichEdit->toPlainText().split(QLatin1Char('\n')))
        out << line << "\r\n";
    return true;
}

void TDlgDriveProperties::BtnSaveClick()
{
    QFileDialog dialog(this, QStringLiteral("Save drive info as..."));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")});
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        saveReport(dialog.selectedFiles().constFirst());
}

void TDlgDriveProperties::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace quillon
