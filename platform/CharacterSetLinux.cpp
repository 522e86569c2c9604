#include "platform/CharacterSet.h"

#include <langinfo.h>

namespace quillon {

// The locale's codeset; QCoreApplication has already taken LC_CTYPE from the environment.
QString DetectSystemCharacterSet()
{
    return CharacterSetForCodeset(QString::fromLatin1(nl_langinfo(CODESET)));
}

} // namespace quillon
