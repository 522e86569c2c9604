#include "support/FakeRegistry.h"

#include <QStringList>
#include <algorithm>

namespace quillon::test {

QString FakeRegistry::normalized(const QString &key)
{
    return QLatin1Char('\\') + key.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

FakeRegistry::Key &FakeRegistry::ensureKey(const QString &key)
{
    const QStringList parts = normalized(key).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString path;
    Key *last = nullptr;
    for (const QString &part : parts) {
        path += QLatin1Char('\\') + part;
        Key &entry = m_keys[path.toCaseFolded()];
        if (entry.path.isEmpty())
            entry.path = path;
        last = &entry;
    }
    if (!last) { // the root
        Key &root = m_keys[QStringLiteral("\\")];
        root.path = QStringLiteral("\\");
        last = &root;
    }
    return *last;
}

const FakeRegistry::Key *FakeRegistry::openable(const QString &key) const
{
    const QString path = normalized(key);
    if (path == QLatin1String("\\")) {
        static const Key root{QStringLiteral("\\"), {}, false};
        const auto it = m_keys.find(path);
        return it == m_keys.end() ? &root : &it->second;
    }
    const auto it = m_keys.find(path.toCaseFolded());
    if (it == m_keys.end() || it->second.unopenable)
        return nullptr;
    return &it->second;
}

void FakeRegistry::addKey(const QString &key)
{
    ensureKey(key);
}

void FakeRegistry::setValue(const QString &key, const QString &name, const Value &value)
{
    ensureKey(key).values[name.toCaseFolded()] = {name, value};
}

void FakeRegistry::setUnopenable(const QString &key)
{
    ensureKey(key).unopenable = true;
}

bool FakeRegistry::hasKey(const QString &key) const
{
    return m_keys.count(normalized(key).toCaseFolded()) != 0;
}

std::optional<FakeRegistry::Value> FakeRegistry::value(const QString &key, const QString &name) const
{
    const auto it = m_keys.find(normalized(key).toCaseFolded());
    if (it == m_keys.end())
        return std::nullopt;
    const auto found = it->second.values.find(name.toCaseFolded());
    if (found == it->second.values.end())
        return std::nullopt;
    return found->second.second;
}

bool FakeRegistry::keyExists(const QString &key) const
{
    ++m_accesses;
    return openable(key) != nullptr;
}

bool FakeRegistry::createKey(const QString &key)
{
    ++m_accesses;
    if (hasKey(key))
        return openable(key) != nullptr;
    if (m_readOnly)
        return false;
    ensureKey(key);
    m_changes.append(normalized(key));
    return true;
}

QStringList FakeRegistry::subKeys(const QString &key) const
{
    ++m_accesses;
    QStringList names;
    const Key *parent = openable(key);
    if (!parent)
        return names;
    const QString below =
        parent->path == QLatin1String("\\") ? parent->path : parent->path + QLatin1Char('\\');
    for (const auto &[folded, entry] : m_keys) {
        if (entry.path.size() > below.size() && entry.path.startsWith(below, Qt::CaseInsensitive) &&
            !entry.path.sliced(below.size()).contains(QLatin1Char('\\')))
            names.append(entry.path.sliced(below.size()));
    }
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

namespace {
template <typename T> std::optional<T> typed(const std::optional<FakeRegistry::Value> &value)
{
    if (value && std::holds_alternative<T>(*value))
        return std::get<T>(*value);
    return std::nullopt;
}
} // namespace

std::optional<QString> FakeRegistry::readString(const QString &key, const QString &name) const
{
    ++m_accesses;
    return openable(key) ? typed<QString>(value(key, name)) : std::nullopt;
}

std::optional<qint64> FakeRegistry::readInteger(const QString &key, const QString &name) const
{
    ++m_accesses;
    return openable(key) ? typed<qint64>(value(key, name)) : std::nullopt;
}

std::optional<QByteArray> FakeRegistry::readBinary(const QString &key, const QString &name) const
{
    ++m_accesses;
    return openable(key) ? typed<QByteArray>(value(key, name)) : std::nullopt;
}

bool FakeRegistry::write(const QString &key, const QString &name, const Value &value)
{
    ++m_accesses;
    if (m_readOnly || m_failingNames.contains(name.toCaseFolded()) || !openable(key))
        return false;
    setValue(key, name, value);
    m_changes.append(normalized(key) + QStringLiteral(" : ") + name);
    return true;
}

bool FakeRegistry::writeString(const QString &key, const QString &name, const QString &value)
{
    return write(key, name, value);
}

bool FakeRegistry::writeInteger(const QString &key, const QString &name, qint64 value)
{
    return write(key, name, value);
}

bool FakeRegistry::writeBinary(const QString &key, const QString &name, const QByteArray &value)
{
    return write(key, name, value);
}

} // namespace quillon::test
