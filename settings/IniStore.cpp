#include "settings/IniStore.h"

#include "platform/DebugLog.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace quillon {

namespace {

const QLatin1String kLineEnd("\r\n");

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The profile reader trims spaces and tabs only; other white space belongs to the text.
QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin).toString();
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool hasSurroundingBlanks(const QString &text)
{
    return !text.isEmpty() && (isBlank(text.front()) || isBlank(text.back()));
}

QString fold(const QString &name)
{
    return name.toCaseFolded();
}

bool validSectionName(const QString &name)
{
    return !name.contains(QLatin1Char(']')) && !hasLineBreak(name) && !hasSurroundingBlanks(name);
}

bool validKey(const QString &key)
{
    return !key.isEmpty() && !key.contains(QLatin1Char('=')) && !hasLineBreak(key) &&
           !hasSurroundingBlanks(key) && !key.startsWith(QLatin1Char(';')) &&
           !key.startsWith(QLatin1Char('['));
}

} // namespace

IniStore::IniStore()
{
    clear();
}

QStringConverter::Encoding IniStore::fileEncoding()
{
    // Qt's system encoding is the ANSI code page on Windows and UTF-8 everywhere else, which
    // is what the other programs reading these files expect on each system.
    return QStringConverter::System;
}

void IniStore::clear()
{
    m_sections.clear();
    Section prelude;
    prelude.hasHeader = false;
    m_sections.push_back(std::move(prelude));
    m_index.clear();
}

QString IniStore::decodeValue(const QString &written)
{
    QString value = trimBlanks(written);
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value;
}

QString IniStore::encodeValue(const QString &value)
{
    // One more pair of double quotes is enough whatever the value holds: the reader trims
    // nothing off a quoted text and removes exactly that pair.
    if (decodeValue(value) == value)
        return value;
    return QLatin1Char('"') + value + QLatin1Char('"');
}

void IniStore::parse(const QByteArray &bytes)
{
    clear();
    QStringDecoder decoder(fileEncoding());
    const QString text = decoder(bytes);
    QStringList rawLines = text.split(QLatin1Char('\n'));
    if (!rawLines.isEmpty() && rawLines.back().isEmpty())
        rawLines.removeLast(); // the end of the last line, not a line of its own

    qsizetype current = 0;
    for (QString &raw : rawLines) {
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        const QString trimmed = trimBlanks(raw);
        if (trimmed.startsWith(QLatin1Char('['))) {
            const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            if (close > 0) {
                Section section;
                section.name = trimBlanks(QStringView(trimmed).sliced(1, close - 1));
                section.header = raw;
                m_sections.push_back(std::move(section));
                current = qsizetype(m_sections.size()) - 1;
                continue;
            }
        }
        Line line;
        line.text = raw;
        if (m_sections[current].hasHeader && !trimmed.startsWith(QLatin1Char(';'))) {
            const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
            if (equals > 0) {
                line.key = trimBlanks(QStringView(trimmed).first(equals));
                line.folded = fold(line.key);
                line.value = decodeValue(trimmed.sliced(equals + 1));
            }
        }
        m_sections[current].lines.push_back(std::move(line));
    }
    for (Section &section : m_sections)
        section.reindex();
    reindex();
}

QByteArray IniStore::toBytes() const
{
    QString text;
    for (const Section &section : m_sections) {
        if (section.hasHeader)
            text += section.header + kLineEnd;
        for (const Line &line : section.lines) {
            if (!line.erased)
                text += line.text + kLineEnd;
        }
    }
    QStringEncoder encoder(fileEncoding());
    return encoder(text);
}

IniStore::LoadResult IniStore::load(const QString &fileName, QString *reason)
{
    clear();
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile()) {
        if (QFileInfo::exists(fileName)) {
            if (reason)
                *reason = QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(fileName));
            return {LoadStatus::Failed};
        }
        if (reason)
            *reason = QStringLiteral("%1 does not exist yet.").arg(QDir::toNativeSeparators(fileName));
        return {LoadStatus::Missing};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = QStringLiteral("%1 cannot be opened: %2")
                          .arg(QDir::toNativeSeparators(fileName), file.errorString());
        return {LoadStatus::Failed};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (reason)
            *reason = QStringLiteral("%1 cannot be read: %2")
                          .arg(QDir::toNativeSeparators(fileName), file.errorString());
        return {LoadStatus::Failed};
    }
    parse(bytes);
    return {LoadStatus::Loaded};
}

bool IniStore::save(const QString &fileName, QString *reason) const
{
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (reason)
            *reason =
                QStringLiteral("The folder %1 cannot be created.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (reason)
            *reason = QStringLiteral("%1 cannot be written: %2")
                          .arg(QDir::toNativeSeparators(fileName), file.errorString());
        return false;
    }
    const QByteArray bytes = toBytes();
    // commit() misses a short write (a full disk) and would put the cut-off file in place of
    // the old one, so the data is pushed out and checked here first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        if (reason)
            *reason = file.error() == QFileDevice::NoError
                          ? QStringLiteral("%1 cannot be written completely; the disk may be full.")
                                .arg(QDir::toNativeSeparators(fileName))
                          : QStringLiteral("%1 cannot be written: %2")
                                .arg(QDir::toNativeSeparators(fileName), file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (reason)
            *reason = QStringLiteral("%1 cannot be written: %2")
                          .arg(QDir::toNativeSeparators(fileName), file.errorString());
        return false;
    }
    return true;
}

void IniStore::Section::reindex()
{
    index.clear();
    hasTwins = false;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        if (lines[i].key.isEmpty())
            continue;
        if (index.contains(lines[i].folded))
            hasTwins = true; // the first of equal keys wins
        else
            index.insert(lines[i].folded, i);
    }
}

void IniStore::reindex()
{
    m_index.clear();
    for (qsizetype i = 1; i < qsizetype(m_sections.size()); ++i) {
        const QString name = fold(m_sections[i].name);
        if (!m_index.contains(name))
            m_index.insert(name, i);
    }
}

const IniStore::Section *IniStore::findSection(const QString &section) const
{
    const auto it = m_index.constFind(fold(section));
    return it == m_index.cend() ? nullptr : &m_sections[*it];
}

IniStore::Section *IniStore::findSection(const QString &section)
{
    const auto it = m_index.constFind(fold(section));
    return it == m_index.cend() ? nullptr : &m_sections[*it];
}

IniStore::Section &IniStore::sectionForWriting(const QString &section)
{
    if (Section *found = findSection(section))
        return *found;
    // A blank line sets the new section off from the one before it, as the old service did.
    const bool hasContent = m_sections.size() > 1 || !m_sections.front().lines.empty();
    if (hasContent) {
        Section &last = m_sections.back();
        const auto lastLine = std::find_if(last.lines.rbegin(), last.lines.rend(),
                                           [](const Line &line) { return !line.erased; });
        if (lastLine == last.lines.rend() ? last.hasHeader : !trimBlanks(lastLine->text).isEmpty())
            last.lines.push_back(Line());
    }
    Section added;
    added.name = section;
    added.header = QLatin1Char('[') + section + QLatin1Char(']');
    m_sections.push_back(std::move(added));
    m_index.insert(fold(section), qsizetype(m_sections.size()) - 1);
    return m_sections.back();
}

QStringList IniStore::sections() const
{
    QStringList names;
    for (qsizetype i = 1; i < qsizetype(m_sections.size()); ++i) {
        if (m_index.value(fold(m_sections[i].name)) == i)
            names.append(m_sections[i].name);
    }
    return names;
}

bool IniStore::hasSection(const QString &section) const
{
    return findSection(section) != nullptr;
}

QStringList IniStore::keys(const QString &section) const
{
    QStringList names;
    const Section *found = findSection(section);
    if (!found)
        return names;
    for (qsizetype i = 0; i < qsizetype(found->lines.size()); ++i) {
        const Line &line = found->lines[i];
        if (!line.key.isEmpty() && found->index.value(line.folded) == i)
            names.append(line.key);
    }
    return names;
}

bool IniStore::contains(const QString &section, const QString &key) const
{
    const Section *found = findSection(section);
    return found && found->index.contains(fold(key));
}

std::optional<QString> IniStore::value(const QString &section, const QString &key) const
{
    const Section *found = findSection(section);
    if (!found)
        return std::nullopt;
    const auto it = found->index.constFind(fold(key));
    if (it == found->index.cend())
        return std::nullopt;
    return found->lines[*it].value;
}

QString IniStore::value(const QString &section, const QString &key, const QString &fallback) const
{
    return value(section, key).value_or(fallback);
}

bool IniStore::setValue(const QString &section, const QString &key, const QString &value)
{
    if (!validSectionName(section) || !validKey(key) || hasLineBreak(value)) {
        qCWarning(lcQuillon) << "not stored, cannot be written as an ini line:" << section << key;
        return false;
    }
    Section &target = sectionForWriting(section);
    const QString folded = fold(key);
    const auto it = target.index.constFind(folded);
    if (it != target.index.cend()) {
        Line &line = target.lines[*it];
        line.value = value;
        line.text = line.key + QLatin1Char('=') + encodeValue(value);
        return true;
    }
    // At the end of the section: after its last key, so that the blank lines and comments
    // that lead into the next section stay in front of it.
    auto position = std::find_if(target.lines.rbegin(), target.lines.rend(),
                                 [](const Line &line) { return !line.key.isEmpty(); });
    if (position == target.lines.rend())
        position = std::find_if(target.lines.rbegin(), target.lines.rend(),
                                [](const Line &line) { return !trimBlanks(line.text).isEmpty(); });
    const qsizetype at = target.lines.rend() - position;
    Line line;
    line.key = key;
    line.folded = folded;
    line.value = value;
    line.text = key + QLatin1Char('=') + encodeValue(value);
    target.lines.insert(target.lines.begin() + at, std::move(line));
    // Only blank and comment lines can follow the insertion point, so no indexed line moved.
    target.index.insert(folded, at);
    return true;
}

bool IniStore::addSection(const QString &section)
{
    if (!validSectionName(section)) {
        qCWarning(lcQuillon) << "no such section can be written:" << section;
        return false;
    }
    sectionForWriting(section);
    return true;
}

bool IniStore::removeKey(const QString &section, const QString &key)
{
    Section *found = findSection(section);
    const QString folded = fold(key);
    const auto first = found ? found->index.constFind(folded) : QHash<QString, qsizetype>::const_iterator();
    if (!found || first == found->index.cend())
        return false;
    // Erased lines stay as empty places until many have gathered, so that no line moves and
    // the index stays right without hashing every key again.
    auto erase = [found](Line &line) {
        line = Line();
        line.erased = true;
        ++found->erased;
    };
    erase(found->lines[*first]);
    if (found->hasTwins) {
        for (auto line = found->lines.begin() + *first; line != found->lines.end(); ++line) {
            if (line->folded == folded)
                erase(*line);
        }
    }
    found->index.erase(first);
    if (found->erased > qsizetype(found->lines.size()) / 2) {
        std::erase_if(found->lines, [](const Line &line) { return line.erased; });
        found->erased = 0;
        found->reindex();
    }
    return true;
}

bool IniStore::removeSection(const QString &section)
{
    if (!findSection(section))
        return false;
    const QString folded = fold(section);
    std::erase_if(m_sections, [&](const Section &s) { return s.hasHeader && fold(s.name) == folded; });
    reindex();
    return true;
}

} // namespace quillon
