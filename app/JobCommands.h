#pragma once
// The main window's disc-job commands: each sets up a fresh execution dialog for its job,
// shows it modally, reads back what the user changed and frees it. The main window is the
// dialog's host: its project, drive list, options dialog, file pane and tray icon.
#include "engine/JobHost.h"

#include <QObject>
#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace quillon {

class DiscJobDrives;
class TDlgNew;
class TDlgProjectNfo;
class ScreenSaverInhibitor;
class TDlgConsole;
class TMainForm;
struct ConsoleServices;

class JobCommands : public QObject, public JobHost {
    Q_OBJECT
public:
    explicit JobCommands(TMainForm &form);
    ~JobCommands() override;

    QAction *DiscRecord;
    QAction *DiscBuildISO;
    QMenu *DiscMenu;

    void DiscBuildISOExecute();
    void DiscRecordExecute();
    void DiscEraseExecute();
    void Fixate1aClick();
    void CopydataCD1aClick();
    void DiskRipExecute();
    // The new-task chooser and its dispatch (after the unsaved-project question).
    void NewTaskExecute();
    QAction *DiscErase;
    QAction *Fixate1a;
    QAction *CopydataCD1a;

    // A disc label made fit for a file name: no ? * | " < >, no colon after the first, no
    // folder separators, no control characters.
    static QString labelForFileName(const QString &label);
    // The source disc's volume label: from the disc's own volume descriptor, else the
    // mounted file system's name.
    QString sourceDiscLabel(int driveIndex);

    // The parts of the program that later complete a kind: each gets its turn here.
    struct KindSeams {
        std::function<void()> newAudioProject;
        std::function<void()> newMixedProject;
        std::function<void()> openImage;     // the user picks the image file
        std::function<void()> importSession; // the last session of a disc
        std::function<void()> newRipProject; // the disc's tracks read at once
        // The audio list: CD-Text of each track (performer and title joined), and selecting a row.
        std::function<QStringList()> audioCdTexts;
        std::function<void(int row)> selectAudioTrack;
        // The rip list: rows and ticked rows.
        std::function<int()> ripRows;
        std::function<int()> ripTicked;
        // The source disc's label in place of reading the drive (tests).
        std::function<QString(int driveIndex)> discLabel;
    } seams;

    // "&Properties...": the project-properties dialog; true when it was closed with OK.
    bool Properties4aClick();
    QAction *Properties4a;
    // "Quillon - " + performer + " - " + title for an audio project (the separator only
    // with both), or the project file's caption when both are empty.
    static QString audioCaption(const ProjectModel &project);

    // Tests answer the modal dialog here: run instead of exec(), returning its result.
    std::function<int(TDlgConsole &)> execHook;
    std::function<int(TDlgProjectNfo &)> propertiesHook;
    std::function<int(TDlgNew &)> newTaskHook;
    JobDrives &drives();
    // A job dialog is writing a disc and cannot be cancelled.
    bool recordingLocked() const;
    // Tests put drives of their own in place of the drive list.
    void setDrives(std::unique_ptr<JobDrives> drives) { m_drives = std::move(drives); }

    // JobHost
    ProjectModel &project() override;
    QString totalText() const override;
    int deepestFolderLevel() override;
    bool writePathList() override;
    QStringList audioTracks() const override;
    bool showOptionsDialog(const QString &pageCaption) override;
    void allowDeepFolders() override;
    void showMediaInfo(int driveIndex) override;
    bool showProjectProperties() override;
    bool writeTrackInfoFiles() override;
    void ripTracks(TDlgConsole &dialog) override;
    void addRecentFile(const QString &fileName) override;
    void setFileBrowserWatching(bool on) override;
    void setTrayIconActive(bool on) override;
    void leaveDrive(QChar letter) override;
    void ejectOrCloseTray() override;
    void shutDownComputer() override;

private:
    // The data project's questions before its dialog opens; false stops the command.
    bool confirmDataProject();
    // The audio list's questions: empty list, national characters in CD-Text.
    bool confirmAudioProject();
    // Erase, fixate and copy never record from a CUE sheet; the project's flag comes back.
    void runWithoutCue(TDlgConsole &dialog);
    void readBack(TDlgConsole &dialog, bool withDataPart, bool audio);
    std::unique_ptr<TDlgConsole> createDialog();
    int exec(TDlgConsole &dialog);
    QString defaultImageFile() const;

    TMainForm &m_form;
    std::unique_ptr<ScreenSaverInhibitor> m_screenSaver;
    std::unique_ptr<JobDrives> m_drives;
    bool m_ejectWasEnabled = false;
    TDlgConsole *m_current = nullptr; // the job dialog on screen
};

} // namespace quillon
