#pragma once
// The rename question that adding asks for a name too long or taken: the item, a new name
// with its length, and the box that makes the answer stick for the rest of the drop.
#include "project/RenameAsker.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace quillon {

class Prompter;

// Whether the rename dialog may close with OK. Without the box ticked the name must pass the
// name rules and differ from the proposed one. Ticked, it still has to be a name that can be
// recorded (not empty, no forbidden character); only the length is left to automatic
// shortening, since ticking the box with the name unchanged is how that is chosen.
bool RenameAcceptable(const QString &text, const QString &remembered, bool autoRename, const QString &label,
                      Prompter &prompter);

class TDlgRename : public QDialog {
    Q_OBJECT
public:
    explicit TDlgRename(Prompter &prompter, QWidget *parent = nullptr);
    void setRequest(const RenameRequest &request);
    RenameAnswer answer() const;

    QLabel *LblFile;
    QLineEdit *EditName; // the item, read-only
    QToolButton *BtnGoToDisk;
    QLabel *LblText;
    QLineEdit *EditNew;
    QLabel *LblChars;
    QLabel *LblHint;
    QCheckBox *ChkAuto;

    void done(int result) override;

private:
    Prompter &m_prompter;
    QString m_remembered;
    bool m_goToDisk = false;
};

class DialogRenameAsker : public RenameAsker {
public:
    DialogRenameAsker(Prompter &prompter, QWidget *parent = nullptr)
        : m_prompter(prompter)
        , m_parent(parent)
    {
    }
    RenameAnswer ask(const RenameRequest &request) override;

private:
    Prompter &m_prompter;
    QWidget *m_parent;
};

} // namespace quillon
