#include "settings/OptionsModel.h"

#include "settings/Ciphers.h"
#include "settings/IniStore.h"

#include <QDir>
#include <QHash>
#include <QStandardPaths>

#include <functional>

namespace quillon {

namespace {

const QString kSection = QStringLiteral("Options");
const QString kPasswordKey = QStringLiteral("Edit1_text");
const QString kIdentityKey = QStringLiteral("ComboCDs_Identity");
const QString kItemIndex = QStringLiteral("_ItemIndex");

template <PropKind K> typename OptionType<K>::type fromVariant(const QVariant &v)
{
    if constexpr (K == PropKind::Boolean)
        return v.toBool();
    else if constexpr (K == PropKind::Integer || K == PropKind::Colour)
        return int(v.toLongLong());
    else if constexpr (K == PropKind::Float)
        return v.toDouble();
    else
        return v.toString();
}

struct Accessor {
    std::function<QVariant(const OptionsModel &)> get;
    std::function<void(OptionsModel &, const QVariant &)> set;
};

const QHash<QString, Accessor> &accessors()
{
    static const QHash<QString, Accessor> map = [] {
        QHash<QString, Accessor> m;
#define QUILLON_ACCESS_PROPERTY(control, property, kind, def)                                                \
    m.insert(QStringLiteral(#control).toCaseFolded(),                                                        \
             {[](const OptionsModel &o) { return QVariant::fromValue(o.control()); },                        \
              [](OptionsModel &o, const QVariant &v) { o.set##control(fromVariant<PropKind::kind>(v)); }});
        QUILLON_OPTION_PROPERTIES(QUILLON_ACCESS_PROPERTY)
#undef QUILLON_ACCESS_PROPERTY
#define QUILLON_ACCESS_LIST(control, def)                                                                    \
    m.insert(QStringLiteral(#control).toCaseFolded(),                                                        \
             {[](const OptionsModel &o) { return QVariant(o.control()); },                                   \
              [](OptionsModel &o, const QVariant &v) { o.set##control(v.toInt()); }});
        QUILLON_OPTION_LISTS(QUILLON_ACCESS_LIST)
#undef QUILLON_ACCESS_LIST
#define QUILLON_ACCESS_UNSTORED(control, kind, def)                                                          \
    m.insert(QStringLiteral(#control).toCaseFolded(),                                                        \
             {[](const OptionsModel &o) { return QVariant::fromValue(o.control()); },                        \
              [](OptionsModel &o, const QVariant &v) { o.set##control(fromVariant<PropKind::kind>(v)); }});
        QUILLON_OPTION_UNSTORED(QUILLON_ACCESS_UNSTORED)
#undef QUILLON_ACCESS_UNSTORED
        m.insert(QStringLiteral("EditProxyPassword").toCaseFolded(),
                 {[](const OptionsModel &o) { return QVariant(o.EditProxyPassword()); },
                  [](OptionsModel &o, const QVariant &v) { o.setEditProxyPassword(v.toString()); }});
        return m;
    }();
    return map;
}

// The list names in the file's order of their stored values.
QStringList listNames()
{
    QStringList names;
#define QUILLON_LIST_NAME(control, def) names << QStringLiteral(#control);
    QUILLON_OPTION_LISTS(QUILLON_LIST_NAME)
#undef QUILLON_LIST_NAME
    return names;
}

} // namespace

QString defaultMusicFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\My music");
#else
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return music.isEmpty() ? QDir::homePath() + QStringLiteral("/Music") : music;
#endif
}

QString defaultCddbServer()
{
    return QStringLiteral("gnudb.gnudb.org");
}

QString RecorderIdentity::toText() const
{
    if (isEmpty())
        return QString();
    return vendor.trimmed() + QLatin1Char('|') + product.trimmed() + QLatin1Char('|') + deviceNode.trimmed();
}

RecorderIdentity RecorderIdentity::fromText(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('|'));
    if (parts.size() != 3)
        return {};
    return {parts[0].trimmed(), parts[1].trimmed(), parts[2].trimmed()};
}

OptionsModel::OptionsModel()
    : m_storage(std::make_unique<TFormStorage>(kSection, TFormStorage::foState))
{
    TFormStorage &s = *m_storage;
#define QUILLON_BIND_PROPERTY(control, property, kind, def)                                                  \
    s.addProperty(                                                                                           \
        QStringLiteral(#control), QStringLiteral(#property), PropKind::kind,                                 \
        [this] { return QVariant::fromValue(m_##control); },                                                 \
        [this](const QVariant &v) { m_##control = fromVariant<PropKind::kind>(v); });
    QUILLON_OPTION_PROPERTIES(QUILLON_BIND_PROPERTY)
#undef QUILLON_BIND_PROPERTY
    for (const QString &list : listNames()) {
        if (list == QLatin1String("ComboFreq"))
            s.addValue(kPasswordKey);
        s.addValue(list + kItemIndex, QString(),
                   list == QLatin1String("ComboCDs") ? recorderIndexKey() : QString());
    }
    s.addValue(kIdentityKey);
    s.onSavePlacement = [this] { valuesToStorage(); };
    s.onRestorePlacement = [this] { valuesFromStorage(); };
    valuesToStorage();
}

OptionsModel::~OptionsModel() = default;

const QList<OptionsModel::Info> &OptionsModel::table()
{
    static const QList<Info> rows = [] {
        QList<Info> t;
#define QUILLON_INFO_PROPERTY(control, property, kind, def)                                                  \
    t.append({QStringLiteral(#control), QStringLiteral(#control "_" #property), PropKind::kind,              \
              QVariant::fromValue(OptionType<PropKind::kind>::type(def)), Storage::Property});
        QUILLON_OPTION_PROPERTIES(QUILLON_INFO_PROPERTY)
#undef QUILLON_INFO_PROPERTY
        QHash<QString, int> listDefaults;
#define QUILLON_LIST_DEFAULT(control, def) listDefaults.insert(QStringLiteral(#control), def);
        QUILLON_OPTION_LISTS(QUILLON_LIST_DEFAULT)
#undef QUILLON_LIST_DEFAULT
        for (const QString &list : listNames()) {
            if (list == QLatin1String("ComboFreq"))
                t.append({QStringLiteral("EditProxyPassword"), kPasswordKey, PropKind::Text, QString(),
                          Storage::Value});
            t.append({list, list + kItemIndex, PropKind::Integer, listDefaults.value(list), Storage::Value});
        }
        t.append({QStringLiteral("ComboCDs"), kIdentityKey, PropKind::Text, QString(), Storage::Value});
#define QUILLON_INFO_UNSTORED(control, kind, def)                                                            \
    t.append({QStringLiteral(#control), QString(), PropKind::kind,                                           \
              QVariant::fromValue(OptionType<PropKind::kind>::type(def)), Storage::NotStored});
        QUILLON_OPTION_UNSTORED(QUILLON_INFO_UNSTORED)
#undef QUILLON_INFO_UNSTORED
        return t;
    }();
    return rows;
}

QVariant OptionsModel::value(const QString &control) const
{
    const auto it = accessors().constFind(control.toCaseFolded());
    return it == accessors().cend() ? QVariant() : it->get(*this);
}

bool OptionsModel::setValue(const QString &control, const QVariant &value)
{
    const auto it = accessors().constFind(control.toCaseFolded());
    if (it == accessors().cend())
        return false;
    it->set(*this, value);
    return true;
}

void OptionsModel::startOfRun()
{
    m_ComboFreq = 0;
    m_ComboStereo = 0;
}

void OptionsModel::valuesToStorage()
{
    TFormStorage &s = *m_storage;
#define QUILLON_LIST_OUT(control, def)                                                                       \
    s.setStoredValue(QStringLiteral(#control "_ItemIndex"), QString::number(m_##control));
    QUILLON_OPTION_LISTS(QUILLON_LIST_OUT)
#undef QUILLON_LIST_OUT
    s.setStoredValue(kPasswordKey, encipherPasswordText(m_EditProxyPassword));
    s.setStoredValue(kIdentityKey, m_ComboCDsIdentity.toText());
}

void OptionsModel::valuesFromStorage()
{
    const TFormStorage &s = *m_storage;
    // A position that is empty or no number leaves its list as it is.
    auto position = [&s](const char *name, int &out) {
        bool ok = false;
        const int v = s.storedValue(QLatin1String(name)).trimmed().toInt(&ok);
        if (ok)
            out = v;
    };
#define QUILLON_LIST_IN(control, def) position(#control "_ItemIndex", m_##control);
    QUILLON_OPTION_LISTS(QUILLON_LIST_IN)
#undef QUILLON_LIST_IN
    m_EditProxyPassword = QString::fromUtf8(decipherStoredPassword(s.storedValue(kPasswordKey)));
    m_ComboCDsIdentity = RecorderIdentity::fromText(s.storedValue(kIdentityKey));
    // Whatever the file said, the compression list ends with a selection.
    if (m_ComboCompression < 0)
        m_ComboCompression = 1;
}

void OptionsModel::restore(const IniStore &ini)
{
    valuesToStorage(); // keys missing from the file keep the values held now
    m_storage->restore(ini);
}

void OptionsModel::save(IniStore &ini)
{
    m_storage->save(ini);
}

void OptionsModel::setWindow(QWidget *window)
{
    m_storage->setWindow(window);
}

} // namespace quillon
