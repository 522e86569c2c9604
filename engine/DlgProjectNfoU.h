#pragma once
// "Project properties": what the project holds, and the three names that go onto the disc
// (the volume name, the CD-Text album title and performer).
#include <QDateTime>
#include <QDialog>
#include <functional>

class QLineEdit;
class QTabWidget;

namespace quillon {

class Prompter;

// What the main window shows in the dialog.
struct ProjectFacts {
    bool hasRoot = true;
    QString rootName;
    bool nameReadOnly = false; // a disc-image project
    bool audioPage = false;    // the Audio CD or Rip Audio page is the main window's page
    QString dataSize;          // the project-size label
    int fileCount = 0;
    int folderCount = 0;       // tree nodes without the root
    QString projectFileName;
    QString audioSize;
    int audioFiles = 0;
    QString albumTitle;
    QString albumPerformer;
};

class TDlgProjectNfo : public QDialog {
    Q_OBJECT
public:
    explicit TDlgProjectNfo(Prompter &prompter, QWidget *parent = nullptr);

    // Fills every field; the file's times, or the current time for a file not on disk.
    void setFacts(const ProjectFacts &facts, const QDateTime &now = QDateTime::currentDateTime());
    // The exit of the three name boxes: blanks trimmed, and the disc-name rule on EditName.
    void EditAudioTitleExit(QLineEdit *box);

    // Times as the system writes a date and time.
    static QString timeText(const QDateTime &time);
    // When the file system keeps no creation time, the last write stands in.
    static QDateTime creationTime(const QString &fileName);

    QTabWidget *Pages;
    QWidget *TabDataCd;
    QWidget *TabAudio;
    QLineEdit *EditName;
    QLineEdit *EditDataProjFile;
    QLineEdit *EditDataSize;
    QLineEdit *EditdataFiles;
    QLineEdit *EditDirs;
    QLineEdit *EditDataProjCreated;
    QLineEdit *EditDataProjModif;
    QLineEdit *EditAudioTitle;
    QLineEdit *EditAudioPerformer;
    QLineEdit *EditAudioProjFile;
    QLineEdit *EditAudioSize;
    QLineEdit *EditAudioFiles;
    QLineEdit *EditAudioProjCreated;
    QLineEdit *EditAudioProjModif;

    // However the dialog closes, the names are checked first; it always closes.
    void done(int result) override;

signals:
    void helpRequested(int topic);

protected:
    void showEvent(QShowEvent *event) override;

private:
    Prompter &m_prompter;
};

} // namespace quillon
