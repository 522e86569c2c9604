#pragma once
// Asks for the name of a new folder, in the project and in the local file pane.
#include <QDialog>

class QLabel;
class QLineEdit;

namespace quillon {

class TDlgNewFolder : public QDialog {
    Q_OBJECT
public:
    explicit TDlgNewFolder(QWidget *parent = nullptr);
    QString folderName() const;

    QLabel *Label1;
    QLineEdit *EditName;
};

} // namespace quillon
