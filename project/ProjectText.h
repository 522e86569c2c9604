#pragma once
// The bytes of the text values in project files. A file is written in this system's own
// encoding (UTF-8 here, the ANSI code page on Windows); one written by a Windows program
// carries Windows-1252 text, which is what bytes that are not valid UTF-8 are taken to be.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quillon {

QByteArray encodeProjectText(QStringView text);
QString decodeProjectText(QByteArrayView bytes);

// Windows-1252 as Windows decodes it: the five unassigned bytes stay the C1 controls of the
// same value, so no byte is ever lost or turned into a replacement character.
QString decodeWindows1252(QByteArrayView bytes);

} // namespace quillon
