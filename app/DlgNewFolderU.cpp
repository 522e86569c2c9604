#include "app/DlgNewFolderU.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillon {

TDlgNewFolder::TDlgNewFolder(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DlgNewFolder"));
    setWindowTitle(QStringLiteral("Create new folder"));
    Label1 = new QLabel(QStringLiteral("&Enter the name for new folder:"), this);
    EditName = new QLineEdit(this);
    EditName->setObjectName(QStringLiteral("EditName"));
    Label1->setBuddy(EditName);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(EditName);
    layout->addWidget(buttons);
}

QString TDlgNewFolder::folderName() const { return EditName->text().trimmed(); }

} // namespace quillon
