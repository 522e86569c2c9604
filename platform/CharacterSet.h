#pragma once
// The system character set in the names the image builder understands ("cp850", "iso8859-1").
#include <QString>

namespace quillon {

// The name for a Windows ANSI code page; empty when the code page has none.
QString CharacterSetForCodePage(int codePage);
// The name for a locale codeset as nl_langinfo(CODESET) reports it ("UTF-8", "ISO-8859-1",
// "KOI8-R", "CP1251"); empty when unlisted.
QString CharacterSetForCodeset(const QString &codeset);
// The running system's character set, or empty.
QString DetectSystemCharacterSet();

} // namespace quillon
