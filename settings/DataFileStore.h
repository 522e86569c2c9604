#pragma once
// The data file ("quillon.ini" in the data folder, with its backup "quillon.bak"): one
// TOptions object, serialized as text and enciphered with the data-file cipher.
//
// The content, before enciphering, is a first line "QuillonOptions/1", then one UTF-8
// "Name=Value" line per property (escapes \\, \n, \r and \xHH), then a last line
// "CRC32=xxxxxxxx" over every byte before it, so that a damaged or half-written file is
// told from a good one. Missing names keep their defaults and unknown names are skipped, so
// older and newer files read. The banner list is "Bmps.Count" and "Bmps.<k>.<Field>";
// enciphered fields stay enciphered; enumerations are ordinals; dates are decimal days
// since 30 December 1899 and all decimals use ".".
#include "settings/TOptionsU.h"

#include <QByteArray>
#include <QString>

namespace quillon {

class Prompter;

class DataFileStore {
public:
    enum class Source { File, Backup, Defaults };

    explicit DataFileStore(Prompter *prompter = nullptr);

    static QByteArray serialize(const TOptions &options);
    // False (and `options` untouched) when the magic line or the checksum is wrong.
    static bool deserialize(const QByteArray &content, TOptions &options, QString *reason = nullptr);
    // The file's bytes: the serialization enciphered, and back.
    static QByteArray encode(const TOptions &options);
    static bool decode(const QByteArray &fileBytes, TOptions &options, QString *reason = nullptr);

    // The backup's path: the same name with the extension "bak".
    static QString backupPath(const QString &path);

    // Reads `path`; when it is missing or fails its check, its backup; when that fails too,
    // `options` is left at its defaults. Says where the options came from.
    Source load(TOptions &options, const QString &path) const;
    // Writes a temporary file beside `path` and only when it is complete moves the former
    // file to the backup (removing an older backup first) and the new one into place, so the
    // last good copy is never lost. On failure reports "I can't write to file ..." through
    // the prompter and returns false.
    bool save(const TOptions &options, const QString &path) const;

private:
    bool readOne(TOptions &options, const QString &path) const;
    Prompter *m_prompter;
};

} // namespace quillon
