#pragma once
// The entries of a folder whose names do not decode in the file system's encoding. Qt's
// directory listing leaves them out silently; the adding code must tell the user instead.
#include <QStringList>

namespace quillon {

// Each such name as well as it decodes (for messages only: no path reaches the file).
QStringList undecodableNames(const QString &folder);

} // namespace quillon
