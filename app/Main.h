#pragma once
// The main window. It owns the program's state for the whole run: the project, the drive
// list, the web-service options; other dialogs read and write that state through it.
#include "app/AppServices.h"
#include "settings/TOptionsU.h"

#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <functional>
#include <memory>

class QComboBox;
class QSplitter;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;
class QToolBar;
class QTreeView;
class QTreeWidget;
class QAction;

namespace quillon {

class IniStore;
class TDlgAbort;
class TDlgOptions;
class ProjectModel;
class ProjectTreeModel;
class FolderListModel;
class ClickableLabel;
class ProjectFolder;
class ProjectFileCommands;
class JobCommands;
class TDataPage;
struct EstimateOptions;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    TMainForm(AppServices &services, IniStore &settings, QWidget *parent = nullptr);
    ~TMainForm() override;

    // Start-up: prepares the environment and the first project (runs once, right after the
    // window is built).
    void FormCreate();
    // End: saves what must survive and cleans up; runs once, after the window has closed.
    void FormDestroy();

    // The long-lived dialogs the program entry creates after the main window.
    void attachDialogs(TDlgOptions *options, TDlgAbort *busy);

    // Runs `operation` modally under the busy dialog. Returns false (and runs nothing) when
    // another busy operation is still running.
    bool RunBusy(const QString &message, const std::function<void()> &operation);
    // Runs `action` once, after the current event has been handled.
    void TimerAbort(std::function<void()> action);
    // Opens a web address in the user's browser.
    void OpenInNewBrowser(const QString &address);

    // Power-off after a job: the one-minute warning, then a normal close and power-off.
    void CheckShutdownExecute();

    void UpdateTotals();
    void NewDataProject(const QString &discName = QString());
    QString DefaultDiscName() const;

    ProjectModel &project() { return *m_project; }
    ProjectTreeModel *treeModel() const { return m_treeModel; }
    FolderListModel *listModel() const { return m_listModel; }
    TDlgOptions *optionsDialog() const { return m_optionsDialog; }
    IniStore &settingsStore() { return m_settings; }
    TDataPage *dataPage() const { return m_dataPage; }
    ProjectFileCommands *fileCommands() const { return m_fileCommands; }
    JobCommands *jobCommands() const { return m_jobCommands; }
    TOptions &Options() { return m_options; }
    AppServices &services() { return m_services; }

    bool ForcedClose = false;
    bool AbortRequested = false;
    bool BusyFinished = true;
    // Set when the close came from the power-off path: the program entry powers off after
    // the normal end has run.
    bool PowerOffRequested = false;

    // Controls other parts of the program use.
    QTabWidget *PageControl1;
    QWidget *TabDataCD;
    QWidget *TabAudio;
    QTreeView *TreeCD;
    QTreeView *ListCD;
    QTreeWidget *ListAudio;
    QLabel *LblTotal;
    ClickableLabel *LblDepth;
    QLabel *LabelNfo;
    QLabel *LabelAudioTotal;
    QLabel *LblAudioTime;
    QLabel *LblDefaultName;
    QWidget *PanelIm;
    QWidget *PanelLocal;
    QToolBar *SpeedBar4;
    QComboBox *ComboCDs;
    QLabel *StatusSource;  // status bar, first panel
    QLabel *StatusDepth;   // status bar, second panel
    QAction *DiskEject;
    QSystemTrayIcon *TrayIcon = nullptr;
    QTimer *TimerShutdown;

    QIcon closedFolderIcon() const { return m_closedFolder; }
    QIcon openFolderIcon() const { return m_openFolder; }
    QString openIsoDir() const { return m_openIsoDir; }
    QString saveAudioDir() const { return m_saveAudioDir; }
    QString projectSaveDir() const { return m_projectSaveDir; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void step(const char *name); // notes a start-up or close step
    void FormShow();
    bool FormCloseQuery();
    void restoreFormStorage();
    void saveFormStorage();
    void homePageVisit();
    void fillDriveCombo();
    void checkFirstStart();
    void driveCheck();
    void TimerShutdownTimer();
    void shutDownNow();
    void updateCaption();
    void showFolder(const QModelIndex &index);
    void selectDeepestFolder();
    void freeProject();
    EstimateOptions estimateOptions() const;

    AppServices &m_services;
    IniStore &m_settings;
    TDlgOptions *m_optionsDialog = nullptr;
    TDlgAbort *m_busy = nullptr;
    TOptions m_options;
    std::unique_ptr<ProjectModel> m_project;
    ProjectTreeModel *m_treeModel = nullptr;
    FolderListModel *m_listModel = nullptr;
    TDataPage *m_dataPage = nullptr;
    ProjectFileCommands *m_fileCommands = nullptr;
    JobCommands *m_jobCommands = nullptr;
    QIcon m_closedFolder;
    QIcon m_openFolder;
    QString m_openIsoDir;
    QString m_saveAudioDir;
    QString m_driveViewDir;
    QString m_projectSaveDir;
    bool m_formStorageActive = false;
    bool m_shown = false;
    bool m_destroyed = false;
    bool m_shutdownDue = false;
    bool m_shutdownWarningOpen = false;
    int m_panelLocalHeight = 151;
    QSplitter *m_split = nullptr;
};

// A label that reports clicks (the depth label selects the deepest folder).
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget *parent = nullptr) : QLabel(parent) {}

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace quillon
