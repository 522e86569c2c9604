#pragma once
// The main window's side of the options dialog and the configuration wizard: the Tools menu
// entries, the look of the main window, the CD-Text re-casing after the upper-case box changed,
// and the first-start wizard. The program entry creates it once both windows exist.
#include "app/AppServices.h"
#include "settings/DlgOptionsU.h"

#include <QObject>

class QAction;
class QMenu;

namespace quillon {

class TMainForm;
class TWizOptions;

class OptionsCommands : public QObject, public WizardService {
    Q_OBJECT
public:
    OptionsCommands(TMainForm &form, TDlgOptions &options);
    ~OptionsCommands() override;

    // What confirming the options dialog does in the main window, and what the dialog asks of it.
    TDlgOptions::MainWindowHooks hooks();

    QMenu *ToolsMenu;
    QAction *Options1;             // "&Options..."
    QAction *Configurationwizard1; // "Configuration &Wizard..."

    // Applies the background picture and the font to the main window.
    void ApplyLook();
    // Upper case, or proper case, for the CD-Text column of every audio row.
    void RecaseCdText(bool upperCase);
    // Tools menu: the wizard, modally.
    void Configurationwizard1aClick();
    // The first start's deferred action: detection, the first drive of the main combo, then
    // the wizard.
    void StartWizardExecute();

    // WizardService: the first start runs the wizard this way.
    void run() override { StartWizardExecute(); }

    // Tests answer the wizard here (instead of its exec()).
    void setWizardHook(std::function<int(TWizOptions &)> hook) { m_wizardHook = std::move(hook); }

private:
    int deepestFolderLevel() const;
    void disableCdAutorun(int index, bool report);

    TMainForm &m_form;
    TDlgOptions &m_options;
    std::function<int(TWizOptions &)> m_wizardHook;
};

} // namespace quillon
