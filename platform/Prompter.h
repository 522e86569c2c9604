#pragma once
// Every message and question the program shows goes through a Prompter, so that jobs and
// models never create a message box and tests can answer from a script.
#include <QString>

namespace quillon {

enum class PromptIcon { None, Information, Warning, Error, Question };

enum PromptButton : int {
    pbNone = 0,
    pbOk = 1 << 0,
    pbCancel = 1 << 1,
    pbYes = 1 << 2,
    pbNo = 1 << 3,
    pbHelp = 1 << 4,
    pbAbort = 1 << 5,
    pbRetry = 1 << 6,
    pbIgnore = 1 << 7,
};

struct PromptRequest {
    QString text;
    QString caption;
    PromptIcon icon = PromptIcon::None;
    int buttons = pbOk;            // a combination of PromptButton values
    PromptButton defaultButton = pbOk;
    bool systemModal = false;      // stays above every other window (the shut-down warning)
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows the request and returns the button the user chose; closing the box counts as
    // Cancel when it is offered, else as the default button.
    virtual PromptButton ask(const PromptRequest &request) = 0;

    // A report with an OK button.
    void inform(const QString &text, const QString &caption,
                PromptIcon icon = PromptIcon::Information);
    void error(const QString &text, const QString &caption) { inform(text, caption, PromptIcon::Error); }
    // The program's usual question: Yes, No and Cancel with Cancel the default.
    // Any answer but Yes declines.
    bool confirm(const QString &text, const QString &caption, PromptButton defaultButton = pbCancel);
};

} // namespace quillon
