#include "project/CountedNameSet.h"

#include "platform/DebugLog.h"

namespace quillon {

void CountedNameSet::removeFolded(const QString &folded)
{
    const auto it = m_counts.find(folded);
    if (it == m_counts.end()) {
        qCWarning(lcQuillon) << "name set: removing a name that is not there:" << folded;
        return;
    }
    if (--it.value() == 0)
        m_counts.erase(it);
}

} // namespace quillon
