#pragma once
// The lower pane of the main window: a small file manager of one hard-disk folder, the usual
// source of drags into the project. Path box, drop-down folder tree, a list over the file
// system and the commands of a file manager.
#include <QWidget>
#include <functional>

class QAction;
class QComboBox;
class QFileSystemModel;
class QToolButton;
class QTreeView;

namespace quillon {

class Prompter;

// The desktop's properties dialog for a file or folder (the file manager over D-Bus), or a
// small one of ours where there is none.
void ShowShellProperties(const QString &path, QWidget *parent);

class TLocalPane : public QWidget {
    Q_OBJECT
public:
    // `askFolderName` asks for the name of a new folder (false on Cancel).
    TLocalPane(Prompter &prompter, std::function<bool(QString &)> askFolderName, QWidget *parent = nullptr);

    QString currentFolder() const { return m_folder; }
    // Shows a folder; `select` names an item in it to select.
    bool setFolder(const QString &folder, const QString &select = QString());
    // The project's "go to disk": the item's folder, the item selected, the pane focused.
    void GoToDisk(const QString &path, const QString &kindWord);
    QStringList selectedPaths() const;

    // The commands, also reachable by their keys.
    void BtnUpClick();
    bool CreateFolder(const QString &name); // in the current folder, with missing parents
    void BtnNewFolderClick();
    void RenameSelected();
    void PropertiesSelected();
    void OpenFolderInNewWindow();
    void Copy(bool cut);
    void Paste(); // the clipboard's files into the current folder
    void Refresh();
    void FindFile();
    void DeleteSelected(bool permanently);
    void SelectAll();
    // Whether the pane (its list or path box) has the focus.
    bool hasPaneFocus() const;

    QComboBox *ComboLocal;
    QToolButton *BtnDriveTree;
    QTreeView *DriveView1;
    QTreeView *ListLocal;
    QAction *ActUp;

signals:
    void folderChanged(const QString &folder);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openItem(const QModelIndex &index);
    void showDriveTree(bool show);

    Prompter &m_prompter;
    std::function<bool(QString &)> m_askFolderName;
    QFileSystemModel *m_files;
    QFileSystemModel *m_dirs;
    QString m_folder;
};

} // namespace quillon
