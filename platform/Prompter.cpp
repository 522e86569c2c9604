#include "platform/Prompter.h"

namespace quillon {

void Prompter::inform(const QString &text, const QString &caption, PromptIcon icon)
{
    ask({text, caption, icon, pbOk, pbOk});
}

bool Prompter::confirm(const QString &text, const QString &caption, PromptButton defaultButton)
{
    return ask({text, caption, PromptIcon::Question, pbYes | pbNo | pbCancel, defaultButton}) == pbYes;
}

} // namespace quillon
