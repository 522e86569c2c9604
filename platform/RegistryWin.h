#pragma once
// The Windows registry under HKEY_LOCAL_MACHINE. Integers are written as DWORD values when
// they fit (the services read theirs as DWORDs) and as QWORD values otherwise.
#include "platform/Registry.h"

namespace quillon {

class RegistryWin : public Registry {
public:
    bool keyExists(const QString &key) const override;
    bool createKey(const QString &key) override;
    QStringList subKeys(const QString &key) const override;
    std::optional<QString> readString(const QString &key, const QString &name) const override;
    std::optional<qint64> readInteger(const QString &key, const QString &name) const override;
    std::optional<QByteArray> readBinary(const QString &key, const QString &name) const override;
    // A value can only be written into a key that exists.
    bool writeString(const QString &key, const QString &name, const QString &value) override;
    bool writeInteger(const QString &key, const QString &name, qint64 value) override;
    bool writeBinary(const QString &key, const QString &name, const QByteArray &value) override;
};

} // namespace quillon
