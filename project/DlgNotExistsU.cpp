#include "project/DlgNotExistsU.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace quillon {

TDlgNotExists::TDlgNotExists(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DlgNotExists"));
    LblFile = new QLabel(this);
    EditName = new QLineEdit(this);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setReadOnly(true);
    EditName->setMinimumWidth(320);
    LblFile->setBuddy(EditName);
    BtnGoToDisk = new QToolButton(this);
    BtnGoToDisk->setObjectName(QStringLiteral("BtnGoToDisk"));
    BtnGoToDisk->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    BtnGoToDisk->setToolTip(QStringLiteral("Go to disk location"));
    LblText = new QLabel(this);
    LblText->setWordWrap(true);
    ChkAuto = new QCheckBox(QStringLiteral("&Ignore other files"), this);
    ChkAuto->setObjectName(QStringLiteral("ChkAuto"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    help->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Ok)->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Cancel)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(BtnGoToDisk, &QToolButton::clicked, this, [this] {
        m_goToDisk = true;
        reject();
    });

    auto *grid = new QGridLayout(this);
    grid->addWidget(LblFile, 0, 0);
    grid->addWidget(EditName, 0, 1);
    grid->addWidget(BtnGoToDisk, 0, 2);
    grid->addWidget(LblText, 1, 0, 1, 3);
    grid->addWidget(ChkAuto, 2, 0, 1, 3);
    grid->addWidget(buttons, 3, 0, 1, 3);
    setRequest({});
}

void TDlgNotExists::setRequest(const NotExistsRequest &request)
{
    setWindowTitle(request.caption);
    LblFile->setText(request.label);
    EditName->setText(request.name);
    LblText->setText(request.text);
    m_goToDisk = false;
}

NotExistsAnswer TDlgNotExists::answer() const
{
    return {result() == QDialog::Accepted, ChkAuto->isChecked(), m_goToDisk};
}

NotExistsAnswer DialogNotExistsAsker::ask(const NotExistsRequest &request)
{
    TDlgNotExists dialog(m_parent);
    dialog.setRequest(request);
    dialog.exec();
    return dialog.answer();
}

} // namespace quillon
