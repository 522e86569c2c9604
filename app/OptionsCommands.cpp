#include "app/OptionsCommands.h"

#include "app/DriveListServiceImpl.h"
#include "app/JobCommands.h"
#include "app/Main.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "platform/SystemFixes.h"
#include "project/ProjectFolder.h"
#include "project/ProjectModel.h"
#include "settings/OptionsLists.h"
#include "settings/WizOptionsU.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QMovie>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

#include <cmath>

namespace quillon {

namespace {
constexpr int kCdTextColumn = 4;

QColor fromColourValue(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace

OptionsCommands::OptionsCommands(TMainForm &form, TDlgOptions &options)
    : QObject(&form)
    , m_form(form)
    , m_options(options)
{
    // The Tools menu may already be there when another part put entries into it.
    ToolsMenu = nullptr;
    for (QAction *a : form.menuBar()->actions())
        if (a->menu() && a->text() == QLatin1String("&Tools"))
            ToolsMenu = a->menu();
    if (!ToolsMenu) {
        ToolsMenu = form.menuBar()->addMenu(QStringLiteral("&Tools"));
        ToolsMenu->setObjectName(QStringLiteral("ToolsMenu"));
    }
    Options1 = ToolsMenu->addAction(QStringLiteral("&Options..."));
    Options1->setObjectName(QStringLiteral("Options1"));
    Configurationwizard1 = ToolsMenu->addAction(QStringLiteral("Configuration &Wizard..."));
    Configurationwizard1->setObjectName(QStringLiteral("Configurationwizard1"));
    connect(Options1, &QAction::triggered, this, [this] { m_options.ShowOptionsDialog(); });
    connect(Configurationwizard1, &QAction::triggered, this, &OptionsCommands::Configurationwizard1aClick);
}

OptionsCommands::~OptionsCommands() = default;

TDlgOptions::MainWindowHooks OptionsCommands::hooks()
{
    TDlgOptions::MainWindowHooks h;
    h.setDefaultDiscName = [this](const QString &name) { m_form.LblDefaultName->setText(name); };
    h.applyLook = [this] { ApplyLook(); };
    h.updateTotals = [this] { m_form.UpdateTotals(); };
    h.recaseCdText = [this](bool upper) { RecaseCdText(upper); };
    h.showBannerPanel = [this](bool shown) { m_form.PanelIm->setVisible(shown); };
    h.deepestFolderLevel = [this] { return deepestFolderLevel(); };
    h.disableCdAutorun = [this](int index, bool report) { disableCdAutorun(index, report); };
    h.openInNewBrowser = [this](const QString &address) { m_form.OpenInNewBrowser(address); };
    h.driveButtonLocked = [this] { return m_form.jobCommands() && m_form.jobCommands()->recordingLocked(); };
    return h;
}

int OptionsCommands::deepestFolderLevel() const
{
    const OptionsModel &o = m_options.model();
    EstimateOptions estimate;
    estimate.ChkIso31 = o.ChkIso31();
    estimate.ChkJoliet = o.ChkJoliet();
    estimate.ChkPad = o.ChkPad();
    estimate.ChkDeep = o.ChkDeep();
    const ProjectFolder *deepest = m_form.project().ComputeTotals(estimate).deepestFolder;
    return deepest ? deepest->level() : -1;
}

void OptionsCommands::disableCdAutorun(int index, bool report)
{
    AppServices &s = m_form.services();
    auto *list = dynamic_cast<DriveListServiceImpl *>(s.drives);
    std::optional<AutorunDrive> drive;
    if (list && list->built() && index >= 0 && index < list->drives().Count())
        drive = AutorunDrive{QString::fromStdString(list->drives().VendorText(index)),
                             QString::fromStdString(list->drives().ProductText(index))};
    if (!s.registry || !s.prompter) {
        qCInfo(lcQuillon) << "no registry: CD autorun left as it is";
        return;
    }
    DisableCdAutorun(CurrentWindowsFamily(), *s.registry, *s.prompter, drive, report);
}

void OptionsCommands::ApplyLook()
{
    const bool useBg = m_options.ChkUseBg->isChecked();
    QImage picture;
    if (useBg)
        picture = m_options.backgroundMovie() ? m_options.backgroundMovie()->currentImage()
                                              : m_options.backgroundPicture();
    const QList<QWidget *> bars = [this] {
        QList<QWidget *> w;
        for (QToolBar *bar : m_form.findChildren<QToolBar *>())
            w << bar;
        w << m_form.PanelIm << m_form.menuBar() << m_form.PageControl1->tabBar() << m_form.statusBar()
          << m_form.StatusSource << m_form.StatusDepth;
        return w;
    }();
    if (m_options.LookChanged())
        for (QWidget *w : bars)
            TDlgOptions::setBarBackground(w, picture);

    const QList<QWidget *> fontTargets = [this] {
        QList<QWidget *> w;
        for (QToolBar *bar : m_form.findChildren<QToolBar *>())
            w << bar;
        w << m_form.PageControl1;
        return w;
    }();
    QTabBar *tabs = m_form.PageControl1->tabBar();
    if (m_options.ChkUseFonts->isChecked()) {
        const OptionsModel &o = m_options.model();
        QFont font(o.FontAll().isEmpty() ? QApplication::font().family() : o.FontAll());
        font.setPointSize(std::max(1, int(std::lround(o.SpinFontAllSize()))));
        font.setBold(o.BtnFontAllBold());
        font.setItalic(o.BtnFontAllItalic());
        const QColor colour = fromColourValue(o.ColorFontAll());
        m_form.statusBar()->setFont(font);
        QPalette pal = m_form.statusBar()->palette();
        pal.setColor(QPalette::WindowText, colour);
        m_form.statusBar()->setPalette(pal);
        for (QWidget *w : fontTargets) {
            w->setFont(font);
            QPalette p = w->palette();
            p.setColor(QPalette::ButtonText, colour);
            p.setColor(QPalette::WindowText, colour);
            w->setPalette(p);
        }
        for (int i = 0; i < tabs->count(); ++i)
            tabs->setTabTextColor(i, colour);
    } else {
        // The designed fonts: the system's, and the total label's for the bars and tabs.
        m_form.statusBar()->setFont(QApplication::font());
        m_form.statusBar()->setPalette(QApplication::palette());
        for (QWidget *w : fontTargets) {
            w->setFont(m_form.LblTotal->font().family() == QApplication::font().family()
                           ? QApplication::font()
                           : m_form.LblTotal->font());
            QPalette p = w->palette();
            p.setColor(QPalette::ButtonText, QApplication::palette().color(QPalette::ButtonText));
            p.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
            w->setPalette(p);
        }
        for (int i = 0; i < tabs->count(); ++i)
            tabs->setTabTextColor(i, Qt::black);
    }
    if (m_options.LookChanged() && m_form.isVisible())
        m_form.update(); // Qt repaints every child; no hide-and-show needed
}

void OptionsCommands::RecaseCdText(bool upperCase)
{
    QTreeWidget *list = m_form.ListAudio;
    if (!list || m_form.PageControl1->indexOf(m_form.TabAudio) < 0)
        return;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list->topLevelItem(i);
        const QString text = row->text(kCdTextColumn);
        row->setText(kCdTextColumn, upperCase ? text.toUpper() : ProperCase(text));
    }
}

void OptionsCommands::Configurationwizard1aClick()
{
    TWizOptions wizard(m_options, &m_form);
    if (m_wizardHook)
        wizard.setExecHook(m_wizardHook);
    wizard.run();
}

void OptionsCommands::StartWizardExecute()
{
    // The deferred timer runs each action once, so there is nothing left to stop.
    m_options.DetectCharacterSet();
    if (m_form.ComboCDs->count() > 0)
        m_form.ComboCDs->setCurrentIndex(0);
    Configurationwizard1aClick();
}

} // namespace quillon
