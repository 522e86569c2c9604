#pragma once
// The machine-wide key store the program keeps its first-start marker and system fixes in:
// the Windows registry (HKEY_LOCAL_MACHINE) on Windows, an ini file in the config folder
// elsewhere. Key paths are written the Windows way ("\Software\Quillon").
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace quillon {

class Registry {
public:
    virtual ~Registry() = default;
    virtual bool keyExists(const QString &key) const = 0;
    // Creates the key with all missing parents; true when it exists afterwards.
    virtual bool createKey(const QString &key) = 0;
    virtual QStringList subKeys(const QString &key) const = 0;
    virtual std::optional<QString> readString(const QString &key, const QString &name) const = 0;
    virtual std::optional<qint64> readInteger(const QString &key, const QString &name) const = 0;
    virtual std::optional<QByteArray> readBinary(const QString &key, const QString &name) const = 0;
    virtual bool writeString(const QString &key, const QString &name, const QString &value) = 0;
    virtual bool writeInteger(const QString &key, const QString &name, qint64 value) = 0;
    virtual bool writeBinary(const QString &key, const QString &name, const QByteArray &value) = 0;
};

} // namespace quillon
