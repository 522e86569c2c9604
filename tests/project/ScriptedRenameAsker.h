#pragma once
// Answers the rename question from a script and keeps every request.
#include "project/RenameAsker.h"

#include <QList>
#include <deque>

namespace quillon::test {

class ScriptedRenameAsker : public RenameAsker {
public:
    void answer(std::initializer_list<RenameAnswer> answers) { m_answers.insert(m_answers.end(), answers); }
    // With nothing queued the question is cancelled.
    RenameAnswer ask(const RenameRequest &request) override
    {
        m_requests.append(request);
        if (m_answers.empty())
            return {};
        RenameAnswer a = m_answers.front();
        m_answers.pop_front();
        // An accepted answer without a name keeps the proposed one.
        if (a.accepted && a.newName.isEmpty())
            a.newName = request.edit;
        return a;
    }
    const QList<RenameRequest> &requests() const { return m_requests; }

private:
    std::deque<RenameAnswer> m_answers;
    QList<RenameRequest> m_requests;
};

} // namespace quillon::test
