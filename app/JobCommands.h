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
    // "&Properties...": the project-properties dialog; true when it was closed with OK.
    bool Properties4aClick();
    QAction *Properties4a;
    // "Quillon - " + performer + " - " + title for an audio project (the separator only
    // with both), or the project file's caption when both are empty.
    static QString audioCaption(const ProjectModel &project);

    // Tests answer the modal dialog here: run instead of exec(), returning its result.
    std::function<int(TDlgConsole &)> execHook;
    std::function<int(TDlgProjectNfo &)> propertiesHook;
    JobDrives &drives();

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
    std::unique_ptr<TDlgConsole> createDialog();
    int exec(TDlgConsole &dialog);
    QString defaultImageFile() const;

    TMainForm &m_form;
    std::unique_ptr<ScreenSaverInhibitor> m_screenSaver;
    std::unique_ptr<JobDrives> m_drives;
    bool m_ejectWasEnabled = false;
};

} // namespace quillon
