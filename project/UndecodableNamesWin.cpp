#include "project/UndecodableNames.h"

namespace quillon {

// Names on Windows are UTF-16 already; every one decodes.
QStringList undecodableNames(const QString &)
{
    return {};
}

} // namespace quillon
