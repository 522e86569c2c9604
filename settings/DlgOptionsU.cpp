#include "settings/DlgOptionsU.h"

#include "platform/DebugLog.h"
#include "settings/IniStore.h"
#include "settings/TOptionsU.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillon {

namespace {
QCheckBox *check(QWidget *parent, const char *name, const QString &caption)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}
} // namespace

TDlgOptions::TDlgOptions(QWidget *parent)
    : QDialog(parent)
    , m_model(std::make_unique<OptionsModel>())
{
    setObjectName(QStringLiteral("DlgOptions"));
    setWindowTitle(QStringLiteral("Options"));
    m_model->setWindow(this);
    ChkJoliet = check(this, "ChkJoliet", QStringLiteral("Use &JOLIET extensions"));
    ChkIso31 = check(this, "ChkIso31",
                     QStringLiteral("Use &ISO 31 character  filenames (disks will be unreadable under DOS)"));
    ChkPad = check(this, "ChkPad", QStringLiteral("&Pad the end of the ISO9660 by 16 sectors (32kB)"));
    ChkDeep = check(
        this, "ChkDeep",
        QStringLiteral("&Allow directories deeper than 8 levels (more than 11 levels are NOT RECOMMENDED)"));
    ChkStoreDir = check(this, "ChkStoreDir", QStringLiteral("&Remember last directory on your hard disk"));
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

    showModel();
    // The controls write straight into the model, so it always holds what they show.
    for (QCheckBox *box : {ChkJoliet, ChkIso31, ChkPad, ChkDeep, ChkStoreDir})
        connect(box, &QCheckBox::toggled, this,
                [this, box](bool checked) { m_model->setValue(box->objectName(), checked); });
    connect(EditTmpFile, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_model->setEditTmpFile(text); });
    connect(ComboCDs, &QComboBox::currentIndexChanged, this, [this](int index) {
        // An empty list (no drives yet) keeps the stored choice for when the drives are there.
        if (ComboCDs->count() > 0)
            m_model->setComboCDs(index);
    });
}

TDlgOptions::~TDlgOptions() = default;

void TDlgOptions::showModel()
{
    for (QCheckBox *box : {ChkJoliet, ChkIso31, ChkPad, ChkDeep, ChkStoreDir})
        box->setChecked(m_model->value(box->objectName()).toBool());
    EditTmpFile->setText(m_model->EditTmpFile());
    if (m_model->ComboCDs() < ComboCDs->count())
        ComboCDs->setCurrentIndex(m_model->ComboCDs());
}

void TDlgOptions::restoreSettings(const IniStore &ini)
{
    m_model->restore(ini);
    if (!m_restored) {
        m_restored = true;
        m_model->startOfRun();
    }
    showModel();
}

void TDlgOptions::saveSettings(IniStore &ini) const
{
    m_model->save(ini);
}

void TDlgOptions::saveSection()
{
    if (m_ini)
        m_model->save(*m_ini);
    else
        qCWarning(lcQuillon) << "options not saved: the dialog has no settings store";
}

int TDlgOptions::execModal()
{
    m_showing = true;
    const int result = m_execHook ? m_execHook(*this) : exec();
    m_showing = false;
    hide();
    return result;
}

bool TDlgOptions::ShowOptionsDialog(const QString &pageCaption)
{
    Q_UNUSED(pageCaption);
    const bool upcaseBefore = m_model->ChkUpcaseCDText();
    const bool ok = execModal() == QDialog::Accepted;
    if (!ok) {
        closeWithCancel();
        return false;
    }
    closeWithOk();
    if (m_dataOptions) {
        TOptions &o = *m_dataOptions;
        o.UseHTTPProxy = m_model->CheckUseProxy();
        o.HTTPProxy = m_model->EditProxy();
        o.HTTPProxyPort = int(m_model->EditProxyPort());
        o.HTTPProxyUser = m_model->EditProxyUser();
        o.setHTTPProxyPassword(m_model->EditProxyPassword());
        o.Identify = QStringLiteral("Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 5.0)");
        o.WantAds = m_model->ChkShowAds();
        if (o.ShouldShowAd && m_hooks.showBannerPanel)
            m_hooks.showBannerPanel(o.WantAds);
    }
    if (m_hooks.setDefaultDiscName)
        m_hooks.setDefaultDiscName(m_model->EditDefaultName());
    if (m_hooks.applyLook)
        m_hooks.applyLook();
    if (m_hooks.updateTotals)
        m_hooks.updateTotals();
    if (m_hooks.recaseCdText && m_model->ChkUpcaseCDText() != upcaseBefore)
        m_hooks.recaseCdText(m_model->ChkUpcaseCDText());
    return true;
}

void TDlgOptions::closeWithOk()
{
    saveSection();
}

void TDlgOptions::closeWithCancel()
{
    if (m_ini)
        restoreSettings(*m_ini);
}

void TDlgOptions::AllowDeepFolders()
{
    ChkDeep->setChecked(true);
    saveSection();
}

} // namespace quillon
