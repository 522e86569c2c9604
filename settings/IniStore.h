#pragma once
// The program's initialization-file store: the settings file, the titles store, the player's
// settings and the registry's stand-in all go through it. It keeps the rules of Windows' own
// initialization-file functions, so that a file either of them wrote reads the same in both:
//
// - sections and keys keep their order, and their names match without regard to case;
// - a value is read trimmed of surrounding blanks, then one enclosing pair of double or
//   single quotes is removed; nothing else is an escape, a backslash stands for itself;
// - a value that would not read back unchanged (surrounding blanks, or enclosed in a pair of
//   quotes itself) is written inside one more pair of double quotes;
// - the first of two equal keys (or sections) wins; later ones are kept but never seen;
// - comments and lines the reader does not understand are written back as they came.
//
// Lines end with CR LF when written; LF and CR LF are both read.
#include <QHash>
#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <optional>
#include <vector>

class QByteArray;

namespace quillon {

class IniStore {
public:
    enum class LoadStatus { Loaded, Missing, Failed };
    struct LoadResult {
        LoadStatus status = LoadStatus::Loaded;
        // True when the file was there and read.
        explicit operator bool() const { return status == LoadStatus::Loaded; }
    };

    IniStore();

    // Replaces the content with the file's. A missing file leaves an empty store and says so
    // (it is the normal first start); an unreadable one leaves an empty store too. On anything
    // but Loaded the reason is filled.
    LoadResult load(const QString &fileName, QString *reason = nullptr);
    // Writes the whole store through a temporary file that replaces the old one only when
    // complete, creating the folder when needed. On failure the old file stays as it was,
    // the reason is filled and the result is false.
    bool save(const QString &fileName, QString *reason = nullptr) const;

    // The same in memory, in the file's encoding.
    void parse(const QByteArray &bytes);
    QByteArray toBytes() const;
    // The text encoding of every file the store reads and writes: UTF-8 on Linux, the ANSI
    // code page on Windows.
    static QStringConverter::Encoding fileEncoding();

    void clear();

    // Section names in file order, each as first written.
    QStringList sections() const;
    bool hasSection(const QString &section) const;
    // Keys of a section in file order, each once, as first written.
    QStringList keys(const QString &section) const;
    bool contains(const QString &section, const QString &key) const;
    std::optional<QString> value(const QString &section, const QString &key) const;
    QString value(const QString &section, const QString &key, const QString &fallback) const;

    // Rewrites the key in its place, or adds it at the end of its section; a new section goes
    // at the end of the file. False (and nothing changed) when the names or the value cannot
    // be written as a line: a section name with "]" or a line break or surrounding blanks, a
    // key that is empty, holds "=" or a line break, starts with ";" or "[", or has surrounding
    // blanks, a value with a line break.
    bool setValue(const QString &section, const QString &key, const QString &value);
    // Adds an empty section at the end unless there is one of that name; false for a name
    // that cannot be written.
    bool addSection(const QString &section);
    // Erases every line of the key in its section; false when there was none.
    bool removeKey(const QString &section, const QString &key);
    // Erases the section with its keys and comments (and any later section of the same name);
    // false when there was none.
    bool removeSection(const QString &section);

    // The value as it is written after "=", and the value a written text reads as.
    static QString encodeValue(const QString &value);
    static QString decodeValue(const QString &written);

private:
    struct Line {
        QString text;   // the line as it stands in the file, without its end
        QString key;    // empty for blanks, comments and lines the reader skips
        QString folded; // the key in the form it is indexed by
        QString value;
        bool erased = false; // an empty place, left out when written
    };
    struct Section {
        QString name;
        bool hasHeader = true; // false only for the lines before the first header
        QString header;
        std::vector<Line> lines;
        qsizetype erased = 0;            // erased lines still in `lines`
        bool hasTwins = false;           // a key is written more than once (by hand)
        QHash<QString, qsizetype> index; // folded key -> its first line
        void reindex();
    };

    const Section *findSection(const QString &section) const;
    Section *findSection(const QString &section);
    Section &sectionForWriting(const QString &section);
    void reindex();

    std::vector<Section> m_sections;   // the first one holds the lines before any header
    QHash<QString, qsizetype> m_index; // folded section name -> its first section
};

} // namespace quillon
