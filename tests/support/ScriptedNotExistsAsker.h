#pragma once
// Answers the "file not found" question from a script and keeps every request.
#include "project/DlgNotExistsU.h"

#include <QList>
#include <deque>

namespace quillon::test {

class ScriptedNotExistsAsker : public NotExistsAsker {
public:
    void answer(std::initializer_list<NotExistsAnswer> answers) { m_answers.insert(m_answers.end(), answers); }
    // With no answer queued the question is cancelled, as its default button does.
    NotExistsAnswer ask(const NotExistsRequest &request) override
    {
        m_requests.append(request);
        if (m_answers.empty())
            return {};
        NotExistsAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    const QList<NotExistsRequest> &requests() const { return m_requests; }

private:
    std::deque<NotExistsAnswer> m_answers;
    QList<NotExistsRequest> m_requests;
};

} // namespace quillon::test
