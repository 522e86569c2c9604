#pragma once
// The drive properties dialog: what a recorder of the options dialog's list can read and
// write, its speeds and its buffer, from the raw page 2Ah reply kept with the list item and
// the capability set read anew. The report is built apart from the window so that it can be
// checked line by line.
#include "discaccess/DiscTypes.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quillon {

class Prompter;

struct DrivePropertiesReport {
    struct Flag {
        QString label; // "Writes CD-R: "
        bool set = false;
    };
    QString drive; // the item text and, when known, "  revision  " and the revision
    QList<Flag> flags;
    QString readSpeed, writeSpeed, bufferSize; // "40 x", "2048 KB"
    QStringList lines;
};

// itemText: the recorder list's text; reply: the raw page 2Ah reply; capabilities: the drive's
// capability set; checkPageForCdText: also take page byte 5 bit 2 for CD-Text when the
// capability flag is clear, as the NT family's drive table does.
DrivePropertiesReport BuildDrivePropertiesReport(const QString &itemText, const QString &revision,
                                                 const disc::TModeSenseReply &reply,
                                                 const disc::TCDCapabilities &capabilities,
                                                 bool checkPageForCdText);

class TDlgDriveProperties : public QDialog {
    Q_OBJECT
public:
    explicit TDlgDriveProperties(QWidget *parent = nullptr);
    ~TDlgDriveProperties() override;

    void fill(const DrivePropertiesReport &report);

    QLineEdit *EditDrive;
    QLineEdit *EditReadSpeed;
    QLineEdit *EditWriteSpeed;
    QLineEdit *EditBufSize;
    QPlainTextEdit *RichEdit;
    QPushButton *BtnSave;
    QList<QCheckBox *> flagBoxes; // in the report's order

    // Writes the report into the file; false when it cannot be written.
    bool saveReport(const QString &fileName) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BtnSaveClick();
};

} // namespace quillon
