#pragma once
// An in-memory registry for tests of the Windows rules. Like the Windows registry, every key
// exists on its own (creating one creates its parents) and a value can only be written into
// an existing key. Set-up and inspection calls do not count as accesses; the Registry calls do,
// so a test can tell that the program left the registry alone.
#include "platform/Registry.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <map>
#include <variant>

namespace quillon::test {

class FakeRegistry : public Registry {
public:
    using Value = std::variant<QString, qint64, QByteArray>;

    // Set-up.
    void addKey(const QString &key);
    void setValue(const QString &key, const QString &name, const Value &value); // adds the key
    // The key is listed by its parent but cannot be opened, like one the user may not read.
    void setUnopenable(const QString &key);
    // Every later write of a value of that name fails.
    void failWritesOf(const QString &name) { m_failingNames.insert(name.toCaseFolded()); }
    // Every later change fails.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // Inspection.
    bool hasKey(const QString &key) const;
    std::optional<Value> value(const QString &key, const QString &name) const;
    int accesses() const { return m_accesses; }
    // Every successful change in order: "key" for a created key, "key : name" for a value.
    const QStringList &changes() const { return m_changes; }

    bool keyExists(const QString &key) const override;
    bool createKey(const QString &key) override;
    QStringList subKeys(const QString &key) const override;
    std::optional<QString> readString(const QString &key, const QString &name) const override;
    std::optional<qint64> readInteger(const QString &key, const QString &name) const override;
    std::optional<QByteArray> readBinary(const QString &key, const QString &name) const override;
    bool writeString(const QString &key, const QString &name, const QString &value) override;
    bool writeInteger(const QString &key, const QString &name, qint64 value) override;
    bool writeBinary(const QString &key, const QString &name, const QByteArray &value) override;

private:
    struct Key {
        QString path;                                        // normalized, as first spelled
        std::map<QString, std::pair<QString, Value>> values; // folded name -> (name, value)
        bool unopenable = false;
    };
    static QString normalized(const QString &key);
    Key &ensureKey(const QString &key);
    const Key *openable(const QString &key) const;
    bool write(const QString &key, const QString &name, const Value &value);

    std::map<QString, Key> m_keys; // folded normalized path -> key
    QSet<QString> m_failingNames;
    bool m_readOnly = false;
    mutable int m_accesses = 0;
    QStringList m_changes;
};

} // namespace quillon::test
