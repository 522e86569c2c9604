#pragma once
// The sections of the settings file "Quillon.ini" besides "Options" (see OptionsModel), with
// their stored keys and defaults, and when each is read and written:
//
// - "Options" (state): read when the options dialog is created and after each Cancel; written
//   on OK, by the wizard, when the main window closes, by the exit notices and the donation
//   link, and when deep folders are switched on.
// - "TMainForm" (state, position): read when the main window is created; written when it
//   closes (its storage is active from the window's first show).
// - "TDlgConsole" (state), "Newtask" (state, active control): read and written by their dialogs.
// - "Normalize" (state, position): read when its dialog is created, written on OK.
// - "Check MP3" (state, position): active from the start, so read when its dialog is first
//   shown and written when it closes.
// - "Autorun" (state): read when its dialog is created, written whenever it closes.
// - "MRU Items" (no window keys): the recent-project list, erased and rewritten as a whole.
//
// Stored values here are list positions, written as decimal numbers.
#include "settings/FormStorage.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace quillon {

class IniStore;

enum class StorageActivation {
    Driven,        // the owner says when to restore and save
    FromStart,     // active from creation: restores on first show, saves on close
    FromFirstShow, // becomes active when its window is first shown
};

struct StoredEntry {
    QString component;
    QString property; // empty for a stored value, whose name is `component`
    PropKind kind;
    QVariant defaultValue;

    bool isValue() const { return property.isEmpty(); }
    QString key() const { return isValue() ? component : component + QLatin1Char('_') + property; }
};

struct SectionLayout {
    QString name;
    int windowOptions; // TFormStorage options
    StorageActivation activation;
    QList<StoredEntry> entries; // properties first, then values, in file order
};

// "TMainForm", "TDlgConsole", "Newtask", "Normalize", "Check MP3" and "Autorun", in that order.
const QList<SectionLayout> &formSections();
const SectionLayout *formSection(const QString &name);

// A section's stored state by key, starting at the defaults, for the windows that keep
// theirs as plain values.
class SectionState {
public:
    explicit SectionState(const SectionLayout &layout, QWidget *window = nullptr);
    ~SectionState();

    QVariant value(const QString &key) const;
    bool setValue(const QString &key, const QVariant &value);

    void restore(const IniStore &ini);
    void save(IniStore &ini, bool destroying = false);
    TFormStorage &storage() { return *m_storage; }

private:
    qsizetype indexOf(const QString &key) const;
    void valuesToStorage();
    void valuesFromStorage();
    SectionLayout m_layout;
    QList<QVariant> m_values;
    std::unique_ptr<TFormStorage> m_storage;
};

// The recent-project list: "F0" ... "F6" in list order; the section is erased and written
// anew, and an empty list leaves no section.
constexpr int kMruMaxItems = 7;
void saveMruItems(IniStore &ini, const QStringList &files);
QStringList restoreMruItems(const IniStore &ini);

} // namespace quillon
