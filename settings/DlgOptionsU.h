#pragma once
// The options dialog. It is created once at start and kept until the end. It holds the
// options model, which every part of the program reads at the moment it needs an option;
// the dialog's controls show and edit the model's values. This form carries the controls
// the project estimate and the start-up read; the full set of pages binds to the same model.
#include "settings/OptionsModel.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quillon {

class IniStore;

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

private:
    void showModel();
    std::unique_ptr<OptionsModel> m_model;
    bool m_restored = false;
};

} // namespace quillon
