#pragma once
// The commands of the Data CD page: drops and pastes read under the busy dialog, new
// folders, renaming in the tree and the list, removing, refresh, go to disk and properties,
// and the local file pane below. The rules live in ItemAdder and ItemEditor; this class only
// connects them to the views.
#include "project/DlgNotExistsU.h"
#include "project/DlgRenameU.h"
#include "project/ItemAdder.h"
#include "project/ItemEditor.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <memory>

class QAction;
class QMimeData;
class QTimer;

namespace quillon {

class TLocalPane;
class TMainForm;
class ProjectFolder;

class TDataPage : public QObject {
    Q_OBJECT
public:
    explicit TDataPage(TMainForm &form);
    ~TDataPage() override;

    // Tests answer the adding questions from scripts; null restores the dialogs.
    void setAskers(RenameAsker *renamer, NotExistsAsker *notExists);

    // The full local paths in a drop or on the clipboard: a file list (text/uri-list) or
    // plain text with one absolute path or file URL a line.
    static QStringList pathsFromMime(const QMimeData *data);

    QStringList DroppedNames;
    QTimer *TimerDrop;
    QTimer *TimerUpdate;
    TLocalPane *LocalPane;
    QAction *Paste;
    QAction *Paste2;
    QAction *PopupRename;
    QAction *PopupDelete;
    QAction *PopupRefresh;
    QAction *PopupGoToHDD;
    QAction *PopupProperties;
    QAction *PopupNewFolder;

    void DropDataCDExecute();
    void PasteExecute();
    void BtnNewFolderClick();
    void PopupRenameExecute();
    void PopupDeleteExecute();
    void PopupRefreshExecute();
    void PopupGoToHDDExecute();
    void PopupPropertiesExecute();
    void GoToDisk(const QString &path, const QString &kindWord);
    void BtnUpClick();
    void ListCDDblClick(const QModelIndex &index);

    ItemAdder &adder() { return *m_adder; }
    // The missing-file question as the adding and the path list ask it.
    NotExistsAsker &notExistsAsker();
    ItemEditor &editor() { return m_editor; }
    QString changeLogPath() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class SwitchRename;
    class SwitchNotExists;
    ProjectFolder *selectedFolder() const;
    // The focused item for go to disk and properties; false when there is none.
    bool focusedItem(ProjectFolder *&folder, int &entryIndex) const;
    bool renameInTree(const QModelIndex &index, const QString &text);
    bool renameInList(const QModelIndex &index, const QString &text);
    void keepEditing(class QAbstractItemView *view, const QModelIndex &index, const QString &text);
    void removeFromList();
    void removeFromTree();
    void afterEdit(const QString &selectCaption);
    void showFolder(ProjectFolder *folder, int selectRow = 0);

    TMainForm &m_form;
    std::unique_ptr<DialogRenameAsker> m_dialogRename;
    std::unique_ptr<DialogNotExistsAsker> m_dialogNotExists;
    std::unique_ptr<SwitchRename> m_rename;
    std::unique_ptr<SwitchNotExists> m_notExists;
    std::unique_ptr<ItemAdder> m_adder;
    ItemEditor m_editor;
    QString m_reselectCaption;
    std::array<const QObject *, 4> m_watched{}; // tree, its viewport, list, its viewport
};

} // namespace quillon
