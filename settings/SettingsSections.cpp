#include "settings/SettingsSections.h"

#include "settings/IniStore.h"

namespace quillon {

namespace {
const QString kMruSection = QStringLiteral("MRU Items");

StoredEntry prop(const char *component, const char *property, PropKind kind, const QVariant &def)
{
    return {QLatin1String(component), QLatin1String(property), kind, def};
}
StoredEntry position(const char *name, int def)
{
    return {QLatin1String(name), QString(), PropKind::Integer, def};
}
} // namespace

const QList<SectionLayout> &formSections()
{
    using K = PropKind;
    constexpr int state = TFormStorage::foState;
    constexpr int placement = TFormStorage::foState | TFormStorage::foPosition;
    static const QList<SectionLayout> sections = {
        {QStringLiteral("TMainForm"),
         placement,
         StorageActivation::FromFirstShow,
         {prop("OpenIsoDlg", "InitialDir", K::Text, QString()), prop("PanelLocal", "Height", K::Integer, 151),
          prop("DriveView1", "Directory", K::Text, QString()),
          prop("SaveAudioDlg", "InitialDir", K::Text, QString()),
          prop("LblDefaultName", "Caption", K::Text, QStringLiteral("Quillon CD"))}},
        {QStringLiteral("TDlgConsole"),
         state,
         StorageActivation::Driven,
         {prop("SaveDialog", "InitialDir", K::Text, QString()), prop("EditSpeed", "Value", K::Float, 8.0),
          position("ComboSpeed_ItemIndex", 0)}},
        {QStringLiteral("Newtask"),
         state | TFormStorage::foActiveControl,
         StorageActivation::Driven,
         {prop("RadioAudio", "Checked", K::Boolean, false), prop("RadioData", "Checked", K::Boolean, true),
          prop("RadioDataCopy", "Checked", K::Boolean, false),
          prop("RadioMixed", "Checked", K::Boolean, false),
          prop("RadioMultisession", "Checked", K::Boolean, false),
          prop("RadioRecFromIso", "Checked", K::Boolean, false),
          prop("RadioRipAudio", "Checked", K::Boolean, false)}},
        {QStringLiteral("Normalize"),
         placement,
         StorageActivation::Driven,
         {position("ComboNorm_ItemIndex", 0)}},
        {QStringLiteral("Check MP3"),
         placement,
         StorageActivation::FromStart,
         {prop("RadioFix", "Checked", K::Boolean, true), prop("RadioOnlyChk", "Checked", K::Boolean, false)}},
        {QStringLiteral("Autorun"),
         state,
         StorageActivation::Driven,
         {prop("EditFileIco", "FileName", K::Text, QString()),
          prop("OpenDlgIco", "InitialDir", K::Text, QString()),
          prop("OpenDlgIco", "FileName", K::Text, QString())}},
    };
    return sections;
}

const SectionLayout *formSection(const QString &name)
{
    for (const SectionLayout &s : formSections())
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

SectionState::SectionState(const SectionLayout &layout, QWidget *window)
    : m_layout(layout)
    , m_storage(std::make_unique<TFormStorage>(layout.name, layout.windowOptions, window))
{
    for (qsizetype i = 0; i < m_layout.entries.size(); ++i) {
        const StoredEntry &e = m_layout.entries[i];
        m_values << e.defaultValue;
        if (e.isValue()) {
            m_storage->addValue(e.key());
            continue;
        }
        m_storage->addProperty(
            e.component, e.property, e.kind, [this, i] { return m_values[i]; },
            [this, i](const QVariant &v) { m_values[i] = v; });
    }
    m_storage->onSavePlacement = [this] { valuesToStorage(); };
    m_storage->onRestorePlacement = [this] { valuesFromStorage(); };
    m_storage->setActive(layout.activation == StorageActivation::FromStart);
    valuesToStorage();
}

SectionState::~SectionState() = default;

qsizetype SectionState::indexOf(const QString &key) const
{
    for (qsizetype i = 0; i < m_layout.entries.size(); ++i)
        if (m_layout.entries[i].key().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant SectionState::value(const QString &key) const
{
    const qsizetype i = indexOf(key);
    return i < 0 ? QVariant() : m_values[i];
}

bool SectionState::setValue(const QString &key, const QVariant &value)
{
    const qsizetype i = indexOf(key);
    if (i < 0)
        return false;
    m_values[i] = value;
    return true;
}

void SectionState::valuesToStorage()
{
    for (qsizetype i = 0; i < m_layout.entries.size(); ++i)
        if (m_layout.entries[i].isValue())
            m_storage->setStoredValue(m_layout.entries[i].key(), QString::number(m_values[i].toInt()));
}

void SectionState::valuesFromStorage()
{
    for (qsizetype i = 0; i < m_layout.entries.size(); ++i) {
        if (!m_layout.entries[i].isValue())
            continue;
        bool ok = false;
        const int v = m_storage->storedValue(m_layout.entries[i].key()).trimmed().toInt(&ok);
        if (ok)
            m_values[i] = v;
    }
}

void SectionState::restore(const IniStore &ini)
{
    valuesToStorage();
    m_storage->restore(ini);
}

void SectionState::save(IniStore &ini, bool destroying)
{
    m_storage->save(ini, destroying);
}

void saveMruItems(IniStore &ini, const QStringList &files)
{
    ini.removeSection(kMruSection);
    for (qsizetype i = 0; i < files.size() && i < kMruMaxItems; ++i)
        ini.setValue(kMruSection, QStringLiteral("F%1").arg(i), files[i]);
}

QStringList restoreMruItems(const IniStore &ini)
{
    QStringList files;
    for (int i = 0; i < kMruMaxItems; ++i) {
        const QString file = ini.value(kMruSection, QStringLiteral("F%1").arg(i), QString());
        if (!file.isEmpty())
            files << file;
    }
    return files;
}

} // namespace quillon
