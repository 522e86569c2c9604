#pragma once
// The project file commands of the main window: New, Open, Save, Save As and the "&Reopen"
// list in the File menu and on the toolbar, the file dialogs, and the unsaved-project
// question in front of closing. The rules are ProjectFiles'; this class connects them to the
// window.
#include "app/AppServices.h"
#include "project/ProjectFiles.h"

#include <QObject>
#include <QString>
#include <memory>

class QAction;
class QMenu;

namespace quillon {

class TMainForm;

class ProjectFileCommands : public QObject, public ProjectGuard, private ProjectFileAsker {
    Q_OBJECT
public:
    explicit ProjectFileCommands(TMainForm &form);
    ~ProjectFileCommands() override;

    QAction *ProjectNew;
    QAction *ProjectLoad;
    QAction *ProjectSave;
    QAction *ProjectSaveAs;
    QMenu *FileMenu;
    QMenu *ReopenMenu;
    QAction *ClearMRUList;
    QAction *RemoveObsolete;

    // A new data project, after the unsaved-project question; the new-task chooser takes
    // its place once the job entry is there.
    void ProjectNewExecute();
    void ProjectLoadExecute() { m_files->ProjectLoadExecute(); }
    bool ProjectSaveExecute() { return m_files->ProjectSaveExecute(); }
    bool ProjectSaveAsExecute() { return m_files->ProjectSaveAsExecute(); }
    void dfsMRUFileListMRUItemClick(const QString &path) { m_files->MRUItemClick(path); }
    ProjectFiles::LoadResult LoadProject(const QString &path) { return m_files->LoadProject(path); }
    // True when the pending operation must be cancelled.
    bool ConfirmDiscard() { return m_files->ConfirmDiscard(); }

    // The close query's guard: true lets the close go on.
    bool confirmDiscard() override { return !ConfirmDiscard(); }

    ProjectFiles &files() { return *m_files; }
    // Tests answer the file dialogs here; null restores the dialogs.
    void setAsker(ProjectFileAsker *asker) { m_asker = asker; }

private:
    class SwitchAsker;
    bool askSaveFileName(QString &path) override;
    bool askOpenFileName(QString &path) override;
    ProjectFiles::Hooks hooks();
    void buildActions();
    void rebuildReopenMenu();
    void updateSaveState();
    void showLoadedProject();
    void finishLoad();

    TMainForm &m_form;
    ProjectFileAsker *m_asker = nullptr;
    std::unique_ptr<SwitchAsker> m_switch;
    std::unique_ptr<ProjectFiles> m_files;
    QString m_openDir;
};

} // namespace quillon
