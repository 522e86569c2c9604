#pragma once
#include "platform/Prompter.h"

namespace quillon {

// The prompter of the running program: a message box with the request's text, caption,
// icon, buttons and default.
class MessageBoxPrompter : public Prompter {
public:
    PromptButton ask(const PromptRequest &request) override;
};

} // namespace quillon
