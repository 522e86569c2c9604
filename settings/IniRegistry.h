#pragma once
// The registry's stand-in where there is no registry: one ini file whose sections are the
// keys, named by their full path ("[\Software\Quillon]"), and whose lines are the values.
// Every value carries its type in front ("string:", "integer:", "binary:" with hex digits) so
// that reading it as another type fails as it does in the registry. A key exists when its
// section or the section of a key below it does; every change is saved at once.
#include "platform/Registry.h"
#include "settings/IniStore.h"

namespace quillon {

class IniRegistry : public Registry {
public:
    // Reads the file; a missing one is an empty registry.
    explicit IniRegistry(const QString &fileName);

    QString fileName() const { return m_fileName; }

    bool keyExists(const QString &key) const override;
    bool createKey(const QString &key) override;
    // The names of the keys directly below, sorted without regard to case as the registry
    // lists them.
    QStringList subKeys(const QString &key) const override;
    std::optional<QString> readString(const QString &key, const QString &name) const override;
    std::optional<qint64> readInteger(const QString &key, const QString &name) const override;
    std::optional<QByteArray> readBinary(const QString &key, const QString &name) const override;
    // A value can only be written into a key that exists.
    bool writeString(const QString &key, const QString &name, const QString &value) override;
    bool writeInteger(const QString &key, const QString &name, qint64 value) override;
    bool writeBinary(const QString &key, const QString &name, const QByteArray &value) override;

    // "\Software\Quillon" for "Software\\Quillon\" and the like; "\" for the root.
    static QString normalizedKey(const QString &key);

private:
    std::optional<QString> readTagged(const QString &key, const QString &name, QLatin1String tag) const;
    bool writeTagged(const QString &key, const QString &name, const QString &tagged);
    bool commit(const IniStore &before);

    QString m_fileName;
    IniStore m_store;
};

} // namespace quillon
