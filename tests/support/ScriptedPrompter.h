#pragma once
// A Prompter that answers from a script and keeps every request, so tests can assert the
// exact texts, captions, icons and buttons the program showed.
#include "platform/Prompter.h"

#include <QList>
#include <deque>
#include <functional>

namespace quillon::test {

class ScriptedPrompter : public Prompter {
public:
    // Queues the answers for the next questions, in order. A request with no queued answer
    // gets its default button.
    void answer(std::initializer_list<PromptButton> answers) { m_answers.insert(m_answers.end(), answers); }
    PromptButton ask(const PromptRequest &request) override;

    const QList<PromptRequest> &requests() const { return m_requests; }
    QStringList texts() const;
    void clear() { m_requests.clear(); m_answers.clear(); }
    int unusedAnswers() const { return int(m_answers.size()); }
    // Runs while a request is "on screen", before it is answered (for example to let a
    // timer fire under an open warning).
    std::function<void(const PromptRequest &)> whileShown;

private:
    std::deque<PromptButton> m_answers;
    QList<PromptRequest> m_requests;
};

} // namespace quillon::test
