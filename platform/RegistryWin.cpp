#include "platform/RegistryWin.h"

#include "platform/DebugLog.h"

#include <QByteArray>

#include <cstring>
#include <string>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quillon {

namespace {

// The API takes paths relative to the root key: "\SYSTEM\Select" becomes "SYSTEM\Select".
std::wstring relativePath(const QString &key)
{
    return key.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\')).toStdWString();
}

class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle()
    {
        if (m_handle)
            RegCloseKey(m_handle);
    }
    KeyHandle(const KeyHandle &) = delete;
    KeyHandle &operator=(const KeyHandle &) = delete;

    PHKEY out() { return &m_handle; }
    HKEY get() const { return m_handle; }

private:
    HKEY m_handle = nullptr;
};

void logFailure(const char *what, const QString &key, const QString &name, LONG status)
{
    // A key or value that is not there is an ordinary answer, not an error.
    if (status == ERROR_FILE_NOT_FOUND)
        return;
    qCWarning(lcQuillon) << "registry:" << what << key << name << "failed with error" << status;
}

bool openKey(const QString &key, REGSAM access, KeyHandle &handle)
{
    const std::wstring path = relativePath(key);
    const LONG status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, handle.out());
    if (status != ERROR_SUCCESS) {
        logFailure("opening", key, QString(), status);
        return false;
    }
    return true;
}

struct RawValue {
    DWORD type = REG_NONE;
    QByteArray data;
};

std::optional<RawValue> queryValue(const QString &key, const QString &name)
{
    KeyHandle handle;
    if (!openKey(key, KEY_QUERY_VALUE, handle))
        return std::nullopt;
    const std::wstring valueName = name.toStdWString();
    RawValue raw;
    DWORD size = 0;
    LONG status = RegQueryValueExW(handle.get(), valueName.c_str(), nullptr, &raw.type, nullptr, &size);
    // The value may grow between asking for its size and reading it; then ask again.
    for (int attempt = 0; attempt < 4 && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA); ++attempt) {
        raw.data.resize(qsizetype(size) + 2); // room for a missing string terminator
        DWORD read = DWORD(raw.data.size());
        status = RegQueryValueExW(handle.get(), valueName.c_str(), nullptr, &raw.type,
                                  reinterpret_cast<LPBYTE>(raw.data.data()), &read);
        if (status == ERROR_SUCCESS) {
            raw.data.resize(qsizetype(read));
            return raw;
        }
        size = read;
    }
    logFailure("reading", key, name, status);
    return std::nullopt;
}

bool setValue(const QString &key, const QString &name, DWORD type, const void *data, DWORD size)
{
    KeyHandle handle;
    if (!openKey(key, KEY_SET_VALUE, handle)) {
        qCWarning(lcQuillon) << "registry: no key" << key << "to write" << name << "into";
        return false;
    }
    const std::wstring valueName = name.toStdWString();
    const LONG status =
        RegSetValueExW(handle.get(), valueName.c_str(), 0, type, static_cast<const BYTE *>(data), size);
    if (status != ERROR_SUCCESS) {
        qCWarning(lcQuillon) << "registry: writing" << key << name << "failed with error" << status;
        return false;
    }
    return true;
}

} // namespace

bool RegistryWin::keyExists(const QString &key) const
{
    KeyHandle handle;
    return openKey(key, KEY_READ, handle);
}

bool RegistryWin::createKey(const QString &key)
{
    KeyHandle handle;
    const std::wstring path = relativePath(key);
    DWORD disposition = 0;
    const LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_READ, nullptr, handle.out(), &disposition);
    if (status != ERROR_SUCCESS) {
        qCWarning(lcQuillon) << "registry: creating" << key << "failed with error" << status;
        return false;
    }
    return true;
}

QStringList RegistryWin::subKeys(const QString &key) const
{
    QStringList names;
    KeyHandle handle;
    if (!openKey(key, KEY_ENUMERATE_SUB_KEYS, handle))
        return names;
    std::vector<wchar_t> name(256); // a key name has at most 255 characters
    for (DWORD index = 0;;) {
        DWORD length = DWORD(name.size());
        const LONG status =
            RegEnumKeyExW(handle.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status == ERROR_MORE_DATA) {
            name.resize(name.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS) {
            qCWarning(lcQuillon) << "registry: listing" << key << "failed with error" << status;
            break;
        }
        names.append(QString::fromWCharArray(name.data(), qsizetype(length)));
        ++index;
    }
    return names;
}

std::optional<QString> RegistryWin::readString(const QString &key, const QString &name) const
{
    const std::optional<RawValue> raw = queryValue(key, name);
    if (!raw || (raw->type != REG_SZ && raw->type != REG_EXPAND_SZ))
        return std::nullopt;
    QString text = QString::fromWCharArray(reinterpret_cast<const wchar_t *>(raw->data.constData()),
                                           raw->data.size() / qsizetype(sizeof(wchar_t)));
    // Stored strings usually carry their terminator, sometimes more than one.
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

std::optional<qint64> RegistryWin::readInteger(const QString &key, const QString &name) const
{
    const std::optional<RawValue> raw = queryValue(key, name);
    if (!raw)
        return std::nullopt;
    if (raw->type == REG_DWORD && raw->data.size() >= qsizetype(sizeof(DWORD))) {
        DWORD value = 0;
        std::memcpy(&value, raw->data.constData(), sizeof value);
        return qint64(value);
    }
    if (raw->type == REG_QWORD && raw->data.size() >= qsizetype(sizeof(qint64))) {
        qint64 value = 0;
        std::memcpy(&value, raw->data.constData(), sizeof value);
        return value;
    }
    return std::nullopt;
}

std::optional<QByteArray> RegistryWin::readBinary(const QString &key, const QString &name) const
{
    const std::optional<RawValue> raw = queryValue(key, name);
    if (!raw || raw->type != REG_BINARY)
        return std::nullopt;
    return raw->data;
}

bool RegistryWin::writeString(const QString &key, const QString &name, const QString &value)
{
    const std::wstring text = value.toStdWString();
    return setValue(key, name, REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
}

bool RegistryWin::writeInteger(const QString &key, const QString &name, qint64 value)
{
    if (value >= 0 && value <= qint64(0xFFFFFFFF)) {
        const DWORD dword = DWORD(value);
        return setValue(key, name, REG_DWORD, &dword, DWORD(sizeof dword));
    }
    return setValue(key, name, REG_QWORD, &value, DWORD(sizeof value));
}

bool RegistryWin::writeBinary(const QString &key, const QString &name, const QByteArray &value)
{
    return setValue(key, name, REG_BINARY, value.constData(), DWORD(value.size()));
}

} // namespace quillon
