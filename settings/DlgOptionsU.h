#pragma once
// The options dialog. It is created once at start and kept until the end. It holds the
// options model, which every part of the program reads at the moment it needs an option;
// the dialog's controls show and edit the model's values. This form carries the controls
// the project estimate and the start-up read; the full set of pages binds to the same model.
#include "settings/OptionsModel.h"

#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quillon {

class IniStore;
class Prompter;
struct TOptions;

class TDlgOptions : public QDialog {
    Q_OBJECT
public:
    explicit TDlgOptions(QWidget *parent = nullptr);
    ~TDlgOptions() override;

    QCheckBox *ChkJoliet;
    QCheckBox *ChkIso31;
    QCheckBox *ChkPad;
    QCheckBox *ChkDeep;
    QCheckBox *ChkStoreDir;
    QLineEdit *EditTmpFile;
    QComboBox *ComboCDs; // default recorder

    // Every option by control name, key and default.
    OptionsModel &model() { return *m_model; }
    const OptionsModel &model() const { return *m_model; }

    // Reads the "Options" section into the model and the controls; a missing key leaves
    // its option as it is. The first call also starts the run's encoder lists at entry 0.
    void restoreSettings(const IniStore &ini);
    // Writes every key of the "Options" section.
    void saveSettings(IniStore &ini) const;

    // The settings store the dialog restores from after Cancel and saves into on OK, and the
    // data-file object that takes the proxy fields on OK.
    void setSettingsStore(IniStore *ini) { m_ini = ini; }
    void setDataOptions(TOptions *options) { m_dataOptions = options; }
    void setPrompter(Prompter *prompter) { m_prompter = prompter; }

    // What OK does in the main window, which owns the project, the audio list and the look.
    struct MainWindowHooks {
        std::function<void(const QString &)> setDefaultDiscName;
        std::function<void()> applyLook;
        std::function<void()> updateTotals;
        std::function<void(bool upperCase)> recaseCdText; // only when the box changed
        std::function<void(bool shown)> showBannerPanel;
    };
    void setMainWindowHooks(MainWindowHooks hooks) { m_hooks = std::move(hooks); }

    // Shows the dialog modally on the page with that caption ("CD writing", "MP3"; the
    // current page when empty or unknown). True when it was left with OK, after the data
    // file object and the main window have taken the new values.
    bool ShowOptionsDialog(const QString &pageCaption = QString());
    // Ticks ChkDeep and saves the section (a failed save is only logged).
    void AllowDeepFolders();

    // Tests answer the modal dialog here: when set, it runs instead of exec() while the
    // dialog counts as shown, and returns QDialog::Accepted or QDialog::Rejected.
    void setExecHook(std::function<int(TDlgOptions &)> hook) { m_execHook = std::move(hook); }
    // True while the dialog is shown to the user: only then do its handlers ask questions.
    bool showing() const { return m_showing; }

private:
    void showModel();
    int execModal();
    void closeWithOk();
    void closeWithCancel();
    void saveSection();
    IniStore *m_ini = nullptr;
    TOptions *m_dataOptions = nullptr;
    Prompter *m_prompter = nullptr;
    MainWindowHooks m_hooks;
    std::function<int(TDlgOptions &)> m_execHook;
    bool m_showing = false;
    std::unique_ptr<OptionsModel> m_model;
    bool m_restored = false;
};

} // namespace quillon
