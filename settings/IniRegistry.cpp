#include "settings/IniRegistry.h"

#include "platform/DebugLog.h"

#include <QByteArray>

#include <algorithm>

namespace quillon {

namespace {

const QLatin1String kString("string:");
const QLatin1String kInteger("integer:");
const QLatin1String kBinary("binary:");
const QLatin1Char kSeparator('\\');
const QLatin1String kRoot("\\");

bool isHex(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    });
}

} // namespace

IniRegistry::IniRegistry(const QString &fileName)
    : m_fileName(fileName)
{
    QString reason;
    const IniStore::LoadResult loaded = m_store.load(fileName, &reason);
    if (loaded.status == IniStore::LoadStatus::Failed)
        qCWarning(lcQuillon) << "registry file not read, starting empty:" << reason;
}

QString IniRegistry::normalizedKey(const QString &key)
{
    return kRoot + key.split(kSeparator, Qt::SkipEmptyParts).join(kSeparator);
}

namespace {

// The section that holds the key, in the spelling the file has it, or the normalized path
// when the key has no section of its own. Sections are compared normalized, so that a
// hand-edited "[Software\Quillon\]" still counts.
QString sectionOf(const IniStore &store, const QString &normalized)
{
    if (store.hasSection(normalized))
        return normalized;
    for (const QString &section : store.sections()) {
        if (IniRegistry::normalizedKey(section).compare(normalized, Qt::CaseInsensitive) == 0)
            return section;
    }
    return normalized;
}

} // namespace

bool IniRegistry::keyExists(const QString &key) const
{
    const QString normalized = normalizedKey(key);
    if (normalized == kRoot || m_store.hasSection(normalized))
        return true;
    const QString below = normalized + kSeparator;
    const QStringList sections = m_store.sections();
    return std::any_of(sections.cbegin(), sections.cend(), [&](const QString &section) {
        const QString path = normalizedKey(section);
        return path.compare(normalized, Qt::CaseInsensitive) == 0 ||
               path.startsWith(below, Qt::CaseInsensitive);
    });
}

bool IniRegistry::createKey(const QString &key)
{
    if (keyExists(key))
        return true;
    const IniStore before = m_store;
    if (!m_store.addSection(normalizedKey(key)))
        return false;
    return commit(before);
}

QStringList IniRegistry::subKeys(const QString &key) const
{
    const QString normalized = normalizedKey(key);
    const QString below = normalized == kRoot ? normalized : normalized + kSeparator;
    QStringList children;
    for (const QString &section : m_store.sections()) {
        const QString path = normalizedKey(section);
        if (path.size() <= below.size() || !path.startsWith(below, Qt::CaseInsensitive))
            continue;
        const QString child = path.sliced(below.size()).section(kSeparator, 0, 0);
        if (!children.contains(child, Qt::CaseInsensitive))
            children.append(child);
    }
    std::sort(children.begin(), children.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return children;
}

std::optional<QString> IniRegistry::readTagged(const QString &key, const QString &name,
                                               QLatin1String tag) const
{
    const std::optional<QString> stored = m_store.value(sectionOf(m_store, normalizedKey(key)), name);
    if (!stored || !stored->startsWith(tag))
        return std::nullopt;
    return stored->sliced(tag.size());
}

std::optional<QString> IniRegistry::readString(const QString &key, const QString &name) const
{
    return readTagged(key, name, kString);
}

std::optional<qint64> IniRegistry::readInteger(const QString &key, const QString &name) const
{
    const std::optional<QString> text = readTagged(key, name, kInteger);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const qint64 value = text->toLongLong(&ok, 10);
    if (!ok) {
        qCWarning(lcQuillon) << "registry file: not a number in" << key << name << *text;
        return std::nullopt;
    }
    return value;
}

std::optional<QByteArray> IniRegistry::readBinary(const QString &key, const QString &name) const
{
    const std::optional<QString> text = readTagged(key, name, kBinary);
    if (!text)
        return std::nullopt;
    if (text->size() % 2 != 0 || !isHex(*text)) {
        qCWarning(lcQuillon) << "registry file: not hex digits in" << key << name << *text;
        return std::nullopt;
    }
    return QByteArray::fromHex(text->toLatin1());
}

bool IniRegistry::writeString(const QString &key, const QString &name, const QString &value)
{
    return writeTagged(key, name, kString + value);
}

bool IniRegistry::writeInteger(const QString &key, const QString &name, qint64 value)
{
    return writeTagged(key, name, kInteger + QString::number(value));
}

bool IniRegistry::writeBinary(const QString &key, const QString &name, const QByteArray &value)
{
    return writeTagged(key, name, kBinary + QString::fromLatin1(value.toHex()));
}

bool IniRegistry::writeTagged(const QString &key, const QString &name, const QString &tagged)
{
    if (!keyExists(key)) {
        qCWarning(lcQuillon) << "registry file: no key" << key << "to write" << name << "into";
        return false;
    }
    const IniStore before = m_store;
    if (!m_store.setValue(sectionOf(m_store, normalizedKey(key)), name, tagged))
        return false;
    return commit(before);
}

// Memory never runs ahead of the file: a change that cannot be saved is taken back.
bool IniRegistry::commit(const IniStore &before)
{
    QString reason;
    if (m_store.save(m_fileName, &reason))
        return true;
    qCWarning(lcQuillon) << "registry file not saved:" << reason;
    m_store = before;
    return false;
}

} // namespace quillon
