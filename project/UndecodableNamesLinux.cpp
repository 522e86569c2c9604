#include "project/UndecodableNames.h"

#include <QFile>
#include <cstring>
#include <dirent.h>

namespace quillon {

QStringList undecodableNames(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name, qsizetype(std::strlen(entry->d_name)));
        // Plain ASCII always decodes; only the rest pays for the round trip.
        bool ascii = true;
        for (char c : raw)
            if (static_cast<unsigned char>(c) >= 0x80) {
                ascii = false;
                break;
            }
        if (ascii)
            continue;
        const QString decoded = QFile::decodeName(raw);
        if (QFile::encodeName(decoded) != raw)
            names << decoded;
    }
    ::closedir(dir);
    return names;
}

} // namespace quillon
