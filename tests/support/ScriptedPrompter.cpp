#include "support/ScriptedPrompter.h"

namespace quillon::test {

PromptButton ScriptedPrompter::ask(const PromptRequest &request)
{
    m_requests.append(request);
    if (whileShown)
        whileShown(request);
    if (m_answers.empty())
        return request.defaultButton;
    const PromptButton answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QStringList ScriptedPrompter::texts() const
{
    QStringList out;
    for (const PromptRequest &r : m_requests)
        out << r.text;
    return out;
}

} // namespace quillon::test
