#include "project/DlgRenameU.h"

#include "platform/Prompter.h"
#include "project/CountedNameSet.h"
#include "project/NameRules.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace quillon {

bool RenameAcceptable(const QString &text, const QString &remembered, bool autoRename, const QString &label,
                      Prompter &prompter)
{
    const QString name = text.trimmed();
    if (autoRename) {
        if (NameRules::hasForbiddenChar(name) || name.isEmpty())
            return CheckNameChars(name, prompter);
        return true;
    }
    if (!CheckNameChars(name, prompter))
        return false;
    if (foldedName(name) == foldedName(remembered)) {
        QString shown = label;
        shown.remove(QLatin1Char('&'));
        prompter.inform(QStringLiteral("Please rename this ") + shown + QStringLiteral("!"),
                        QStringLiteral("Identical name exists"), PromptIcon::Warning);
        return false;
    }
    return true;
}

TDlgRename::TDlgRename(Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_prompter(prompter)
{
    setObjectName(QStringLiteral("DlgRename"));
    LblFile = new QLabel(this);
    EditName = new QLineEdit(this);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setReadOnly(true);
    EditName->setMinimumWidth(360);
    BtnGoToDisk = new QToolButton(this);
    BtnGoToDisk->setObjectName(QStringLiteral("BtnGoToDisk"));
    BtnGoToDisk->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    BtnGoToDisk->setToolTip(QStringLiteral("Go to disk location"));
    LblText = new QLabel(this);
    LblText->setWordWrap(true);
    EditNew = new QLineEdit(this);
    EditNew->setObjectName(QStringLiteral("EditNew"));
    LblFile->setBuddy(EditNew);
    LblChars = new QLabel(this);
    LblChars->setObjectName(QStringLiteral("LblChars"));
    LblHint = new QLabel(QStringLiteral("Max 64 chars"), this);
    ChkAuto = new QCheckBox(QStringLiteral("&Automatically rename files and folders"), this);
    ChkAuto->setObjectName(QStringLiteral("ChkAuto"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(BtnGoToDisk, &QToolButton::clicked, this, [this] {
        m_goToDisk = true;
        reject();
    });
    connect(EditNew, &QLineEdit::textChanged, this, [this](const QString &text) {
        LblChars->setText(QStringLiteral("Characters: %1").arg(text.trimmed().size()));
    });

    auto *grid = new QGridLayout(this);
    grid->addWidget(LblFile, 0, 0);
    grid->addWidget(EditName, 0, 1);
    grid->addWidget(BtnGoToDisk, 0, 2);
    grid->addWidget(LblText, 1, 0, 1, 3);
    grid->addWidget(EditNew, 2, 0, 1, 3);
    grid->addWidget(LblChars, 3, 0);
    grid->addWidget(LblHint, 3, 1);
    grid->addWidget(ChkAuto, 4, 0, 1, 3);
    grid->addWidget(buttons, 5, 0, 1, 3);
    setRequest({});
}

void TDlgRename::setRequest(const RenameRequest &request)
{
    setWindowTitle(request.caption);
    LblFile->setText(request.label);
    EditName->setText(request.name);
    LblText->setText(request.text);
    EditNew->setText(request.edit);
    LblChars->setText(QStringLiteral("Characters: %1").arg(request.edit.trimmed().size()));
    ChkAuto->setChecked(request.autoRename);
    m_remembered = request.edit.trimmed();
    m_goToDisk = false;
}

void TDlgRename::done(int result)
{
    if (result == QDialog::Accepted) {
        EditNew->setText(EditNew->text().trimmed());
        if (!RenameAcceptable(EditNew->text(), m_remembered, ChkAuto->isChecked(), LblFile->text(),
                              m_prompter))
            return; // stays open
    }
    QDialog::done(result);
}

RenameAnswer TDlgRename::answer() const
{
    return {result() == QDialog::Accepted, EditNew->text().trimmed(), ChkAuto->isChecked(), m_goToDisk};
}

RenameAnswer DialogRenameAsker::ask(const RenameRequest &request)
{
    TDlgRename dialog(m_prompter, m_parent);
    dialog.setRequest(request);
    dialog.exec();
    return dialog.answer();
}

} // namespace quillon
