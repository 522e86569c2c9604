#pragma once
// The options dialog. It is created once at start and kept until the end: its controls are
// the option values, and every part of the program reads an option from the control it
// needs at the moment it needs it. This first form carries the options the project
// estimate and the start-up read; the full set of pages follows with the settings model.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quillon {

class IniStore;

class TDlgOptions : public QDialog {
    Q_OBJECT
public:
    explicit TDlgOptions(QWidget *parent = nullptr);

    QCheckBox *ChkJoliet;
    QCheckBox *ChkIso31;
    QCheckBox *ChkPad;
    QCheckBox *ChkDeep;
    QCheckBox *ChkStoreDir;
    QLineEdit *EditTmpFile;
    QComboBox *ComboCDs; // default recorder

    // Reads the "Options" section; a missing key leaves the control at its default.
    void restoreSettings(const IniStore &ini);
    // Writes every stored control into the "Options" section.
    void saveSettings(IniStore &ini) const;
};

} // namespace quillon
