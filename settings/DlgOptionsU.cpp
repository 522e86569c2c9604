#include "settings/DlgOptionsU.h"

#include "settings/IniStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillon {

namespace {
const QString kSection = QStringLiteral("Options");

QCheckBox *check(QWidget *parent, const char *name, const QString &caption, bool checked)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    return box;
}
} // namespace

TDlgOptions::TDlgOptions(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DlgOptions"));
    setWindowTitle(QStringLiteral("Options"));
    ChkJoliet = check(this, "ChkJoliet", QStringLiteral("Use &JOLIET extensions"), true);
    ChkIso31 = check(this, "ChkIso31",
                     QStringLiteral("Use &ISO 31 character  filenames (disks will be unreadable under DOS)"), false);
    ChkPad = check(this, "ChkPad", QStringLiteral("&Pad the end of the ISO9660 by 16 sectors (32kB)"), true);
    ChkDeep = check(this, "ChkDeep",
                    QStringLiteral("&Allow directories deeper than 8 levels (more than 11 levels are NOT RECOMMENDED)"),
                    true);
    ChkStoreDir = check(this, "ChkStoreDir", QStringLiteral("&Remember last directory on your hard disk"), false);
    EditTmpFile = new QLineEdit(this);
    EditTmpFile->setObjectName(QStringLiteral("EditTmpFile"));
    ComboCDs = new QComboBox(this);
    ComboCDs->setObjectName(QStringLiteral("ComboCDs"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Default recorder"), ComboCDs);
    form->addRow(QStringLiteral("&Temporary ISO image file:"), EditTmpFile);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    for (QCheckBox *box : {ChkJoliet, ChkIso31, ChkPad, ChkDeep, ChkStoreDir})
        layout->addWidget(box);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TDlgOptions::restoreSettings(const IniStore &ini)
{
    for (QCheckBox *box : {ChkJoliet, ChkIso31, ChkPad, ChkDeep, ChkStoreDir}) {
        const auto value = ini.value(kSection, box->objectName() + QStringLiteral("_Checked"));
        if (!value)
            continue;
        // An unknown word leaves the box as it is.
        if (value->compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            box->setChecked(true);
        else if (value->compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            box->setChecked(false);
    }
    if (const auto file = ini.value(kSection, QStringLiteral("EditTmpFile_FileName")))
        EditTmpFile->setText(file->trimmed());
}

void TDlgOptions::saveSettings(IniStore &ini) const
{
    for (const QCheckBox *box : {ChkJoliet, ChkIso31, ChkPad, ChkDeep, ChkStoreDir})
        ini.setValue(kSection, box->objectName() + QStringLiteral("_Checked"),
                     box->isChecked() ? QStringLiteral("True") : QStringLiteral("False"));
    ini.setValue(kSection, QStringLiteral("EditTmpFile_FileName"), EditTmpFile->text().trimmed());
}

} // namespace quillon
