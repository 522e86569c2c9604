#include "platform/CharacterSet.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quillon {

QString DetectSystemCharacterSet()
{
    return CharacterSetForCodePage(int(GetACP()));
}

} // namespace quillon
