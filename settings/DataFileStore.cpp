#include "settings/DataFileStore.h"

#include "platform/AppPaths.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "settings/Ciphers.h"
#include "settings/Crc32.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>

#include <functional>
#include <limits>
#include <vector>

namespace quillon {

namespace {

const QByteArray kMagic = QByteArrayLiteral("QuillonOptions/1");
const QByteArray kCrcName = QByteArrayLiteral("CRC32=");
constexpr int kMaxBanners = 100000; // far beyond any real list; a bigger count is damage

QByteArray escape(const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    for (const char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '\\')
            out += "\\\\";
        else if (ch == '\n')
            out += "\\n";
        else if (ch == '\r')
            out += "\\r";
        else if (b < 0x20 || b == 0x7F)
            out += "\\x" + QByteArray::number(b, 16).rightJustified(2, '0');
        else
            out += ch;
    }
    return out;
}

QString unescape(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch != '\\' || i + 1 >= text.size()) {
            out += ch;
            continue;
        }
        const char next = text[i + 1];
        if (next == '\\' || next == 'n' || next == 'r') {
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
            ++i;
        } else if (next == 'x' && i + 3 < text.size()) {
            bool ok = false;
            const int code = text.sliced(i + 2, 2).toByteArray().toInt(&ok, 16);
            if (ok) {
                out += char(code);
                i += 3;
            } else {
                out += ch; // not an escape after all: the backslash stands for itself
            }
        } else {
            out += ch;
        }
    }
    return QString::fromUtf8(out);
}

QString number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}
QString flag(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool readFlag(const QString &text, bool &out)
{
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        out = true;
    else if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        out = false;
    else
        return false;
    return true;
}

template <typename T> bool readInt(const QString &text, T &out, qint64 low, qint64 high)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < low || v > high)
        return false;
    out = T(v);
    return true;
}

bool readDouble(const QString &text, double &out)
{
    bool ok = false;
    const double v = text.toDouble(&ok); // always the C locale
    if (ok)
        out = v;
    return ok;
}

template <typename Object> struct Field {
    const char *name;
    std::function<QString(const Object &)> write;
    std::function<bool(Object &, const QString &)> read;
};

template <typename Object> Field<Object> textField(const char *name, QString Object::*member)
{
    return {name, [member](const Object &o) { return o.*member; },
            [member](Object &o, const QString &v) {
                o.*member = v;
                return true;
            }};
}

template <typename Object> Field<Object> flagField(const char *name, bool Object::*member)
{
    return {name, [member](const Object &o) { return flag(o.*member); },
            [member](Object &o, const QString &v) { return readFlag(v, o.*member); }};
}

template <typename Object, typename T>
Field<Object> intField(const char *name, T Object::*member, qint64 low, qint64 high)
{
    return {name, [member](const Object &o) { return QString::number(qint64(o.*member)); },
            [member, low, high](Object &o, const QString &v) { return readInt(v, o.*member, low, high); }};
}

template <typename Object> Field<Object> doubleField(const char *name, double Object::*member)
{
    return {name, [member](const Object &o) { return number(o.*member); },
            [member](Object &o, const QString &v) { return readDouble(v, o.*member); }};
}

template <typename Object, typename Enum>
Field<Object> enumField(const char *name, Enum Object::*member, int count)
{
    return {name, [member](const Object &o) { return QString::number(int(o.*member)); },
            [member, count](Object &o, const QString &v) {
                int ordinal = 0;
                if (!readInt(v, ordinal, 0, count - 1))
                    return false;
                o.*member = Enum(ordinal);
                return true;
            }};
}

constexpr qint64 kIntMin = std::numeric_limits<int>::min();
constexpr qint64 kIntMax = std::numeric_limits<int>::max();

const std::vector<Field<TOptions>> &optionFields()
{
    using O = TOptions;
    static const std::vector<Field<O>> fields = {
        textField<O>("NewestVersion", &O::NewestVersion),
        doubleField<O>("ExpV", &O::ExpV),
        doubleField<O>("LastU", &O::LastU),
        flagField<O>("WantAds", &O::WantAds),
        flagField<O>("ShouldShowAd", &O::ShouldShowAd),
        intField<O>("LastBmp", &O::LastBmp, kIntMin, kIntMax),
        intField<O>("LastSpl", &O::LastSpl, kIntMin, kIntMax),
        intField<O>("RxSpin1", &O::RxSpin1, kIntMin, kIntMax),
        doubleField<O>("EditVBR", &O::EditVBR),
        flagField<O>("UseHTTPProxy", &O::UseHTTPProxy),
        textField<O>("HTTPProxy", &O::HTTPProxy),
        intField<O>("HTTPProxyPort", &O::HTTPProxyPort, kIntMin, kIntMax),
        textField<O>("HTTPProxyUser", &O::HTTPProxyUser),
        textField<O>("HTTPProxyPassword", &O::FHTTPProxyPassword),
        textField<O>("FTPProxyPassword", &O::FFTPProxyPassword),
        textField<O>("Password", &O::FPassword),
        textField<O>("Identify", &O::Identify),
        intField<O>("MaxConnections", &O::MaxConnections, kIntMin, kIntMax),
        intField<O>("InternetSpeed", &O::InternetSpeed, kIntMin, kIntMax),
        flagField<O>("UseTruncate", &O::UseTruncate),
        textField<O>("TCPUser", &O::TCPUser),
        textField<O>("TCPPassword", &O::TCPPassword),
    };
    return fields;
}

const std::vector<Field<TBmpItem>> &bannerFields()
{
    using B = TBmpItem;
    static const std::vector<Field<B>> fields = {
        textField<B>("SplFrom", &B::SplFrom),
        intField<B>("SplCRC", &B::SplCRC, 0, 0xFFFFFFFFll),
        flagField<B>("SplOK", &B::SplOK),
        textField<B>("SplTo", &B::FSplTo),
        enumField<B>("SplType", &B::SplType, kMyFileTypeCount),
        enumField<B>("SplResize", &B::SplResize, kResizeTypeCount),
        intField<B>("X", &B::X, 0, 0xFFFF),
        intField<B>("Y", &B::Y, 0, 0xFFFF),
        textField<B>("BanFrom", &B::BanFrom),
        flagField<B>("BanOK", &B::BanOK),
        intField<B>("BanCRC", &B::BanCRC, 0, 0xFFFFFFFFll),
        textField<B>("BanTo", &B::FBanTo),
        enumField<B>("BanType", &B::BanType, kMyFileTypeCount),
    };
    return fields;
}

QByteArray crcLine(QByteArrayView before)
{
    return kCrcName + QByteArray::number(crc32(before), 16).rightJustified(8, '0') + '\n';
}

void setError(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
}

// Puts the busy cursor up for the length of a save, where there is a screen to show it on.
class BusyCursor {
public:
    BusyCursor()
        : m_on(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (m_on)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor() { release(); }
    void release()
    {
        if (m_on)
            QGuiApplication::restoreOverrideCursor();
        m_on = false;
    }

private:
    bool m_on;
};

} // namespace

DataFileStore::DataFileStore(Prompter *prompter)
    : m_prompter(prompter)
{
}

QByteArray DataFileStore::serialize(const TOptions &options)
{
    QByteArray out = kMagic + '\n';
    for (const Field<TOptions> &f : optionFields())
        out += QByteArray(f.name) + '=' + escape(f.write(options)) + '\n';
    out += "Bmps.Count=" + QByteArray::number(options.Bmps.size()) + '\n';
    for (qsizetype k = 0; k < options.Bmps.size(); ++k)
        for (const Field<TBmpItem> &f : bannerFields())
            out += "Bmps." + QByteArray::number(k) + '.' + f.name + '=' + escape(f.write(options.Bmps[k])) +
                   '\n';
    out += crcLine(out);
    return out;
}

bool DataFileStore::deserialize(const QByteArray &content, TOptions &options, QString *reason)
{
    if (!content.startsWith(kMagic + '\n')) {
        setError(reason, QStringLiteral("no data-file header"));
        return false;
    }
    const qsizetype crcAt = content.lastIndexOf('\n', content.size() - 2) + 1;
    const QByteArrayView body(content.constData(), crcAt);
    if (!content.endsWith('\n') || content.mid(crcAt) != crcLine(body)) {
        setError(reason, QStringLiteral("checksum does not match: the file is damaged or incomplete"));
        return false;
    }

    TOptions read;
    QList<QByteArrayView> bannerLines;
    int bannerCount = 0;
    const QList<QByteArray> lines = content.left(crcAt).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray name = line.left(eq);
        const QString value = unescape(QByteArrayView(line).sliced(eq + 1));
        if (name == "Bmps.Count") {
            if (!readInt(value, bannerCount, 0, kMaxBanners))
                bannerCount = 0;
            read.Bmps = TBmpCollection(bannerCount);
            continue;
        }
        if (name.startsWith("Bmps.")) {
            const QList<QByteArray> parts = name.split('.');
            bool ok = false;
            const int k = parts.size() == 3 ? parts[1].toInt(&ok) : -1;
            if (!ok || k < 0 || k >= read.Bmps.size())
                continue;
            for (const Field<TBmpItem> &f : bannerFields())
                if (parts[2] == f.name) {
                    if (!f.read(read.Bmps[k], value))
                        qCInfo(lcQuillon)
                            << "data file: unreadable value of" << name << "kept at its default";
                    break;
                }
            continue;
        }
        for (const Field<TOptions> &f : optionFields())
            if (name == f.name) {
                if (!f.read(read, value))
                    qCInfo(lcQuillon) << "data file: unreadable value of" << name << "kept at its default";
                break;
            }
    }
    options = std::move(read);
    return true;
}

QByteArray DataFileStore::encode(const TOptions &options)
{
    return DataFileCipher(dataFileKeyString()).encipher(serialize(options));
}

bool DataFileStore::decode(const QByteArray &fileBytes, TOptions &options, QString *reason)
{
    return deserialize(DataFileCipher(dataFileKeyString()).decipher(fileBytes), options, reason);
}

QString DataFileStore::backupPath(const QString &path)
{
    const QFileInfo info(path);
    const QString dir = path.left(path.size() - info.fileName().size());
    return dir + info.completeBaseName() + QStringLiteral(".bak");
}

bool DataFileStore::readOne(TOptions &options, const QString &path) const
{
    QFile file(path);
    if (!file.exists())
        return false;
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcQuillon) << "data file" << path << "cannot be read:" << file.errorString();
        return false;
    }
    QString reason;
    if (!decode(file.readAll(), options, &reason)) {
        qCWarning(lcQuillon) << "data file" << path << "not used:" << reason;
        return false;
    }
    return true;
}

DataFileStore::Source DataFileStore::load(TOptions &options, const QString &path) const
{
    if (readOne(options, path))
        return Source::File;
    const QString backup = backupPath(path);
    if (backup != path && readOne(options, backup)) {
        qCInfo(lcQuillon) << "data file taken from its backup" << backup;
        return Source::Backup;
    }
    options = TOptions();
    return Source::Defaults;
}

bool DataFileStore::save(const TOptions &options, const QString &path) const
{
    BusyCursor busy;
    const QFileInfo info(path);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    const QString backup = backupPath(path);
    const QString temporary = path + QStringLiteral(".new");
    const QByteArray bytes = encode(options);

    QString reason;
    auto step = [&]() -> bool {
        if (!QDir().mkpath(info.absolutePath())) {
            reason = QStringLiteral("the folder cannot be created");
            return false;
        }
        QFile file(temporary);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            reason = QStringLiteral("temporary file: ") + file.errorString();
            return false;
        }
        // The write is checked in full: a short write (a full disk) must not replace anything.
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            reason = QStringLiteral("temporary file cannot be written completely: ") + file.errorString();
            file.close();
            QFile::remove(temporary);
            return false;
        }
        file.close();
        if (QFile::exists(path)) {
            if (QFileInfo::exists(backup) && !QFile::remove(backup)) {
                reason = QStringLiteral("the older backup cannot be removed");
                QFile::remove(temporary);
                return false;
            }
            if (!QFile::rename(path, backup)) {
                reason = QStringLiteral("the former file cannot become the backup");
                QFile::remove(temporary);
                return false;
            }
        }
        if (!QFile::rename(temporary, path)) {
            // The former content is in the backup, which the next start reads.
            reason = QStringLiteral("the new file cannot be put in place");
            QFile::remove(temporary);
            return false;
        }
        return true;
    };
    if (step())
        return true;

    qCWarning(lcQuillon) << "data file" << path << "not written:" << reason;
    busy.release();
    if (m_prompter)
        m_prompter->error(QStringLiteral("I can't write to file ") + withTrailingSeparator(folder) +
                              QStringLiteral("quillon.ini"),
                          QStringLiteral("Error"));
    return false;
}

} // namespace quillon
