#include "settings/FormStorage.h"

#include "platform/DebugLog.h"
#include "settings/Ciphers.h"
#include "settings/IniStore.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace quillon {

namespace {

// Windows' own placement numbers.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
constexpr int kRestoreToMaximized = 2; // placement flag: a minimised window comes back maximised

const QString kDuplicates = QStringLiteral("String list does not allow duplicates");

QString joinFour(int a, int b, int c, int d)
{
    return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

bool splitFour(const QString &text, int out[4])
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        out[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return false;
    }
    return true;
}

QString screenSuffix(const ScreenMetrics &m)
{
    return QStringLiteral("(%1x%2)").arg(m.size.width()).arg(m.size.height());
}

} // namespace

ScreenMetrics screenMetricsOf(const QWidget *window)
{
    const QScreen *screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->size(), int(std::lround(screen->logicalDotsPerInch()))};
}

TFormStorage::TFormStorage(const QString &section, int options, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_section(section)
    , m_options(options)
{
    screenMetrics = [this] { return screenMetricsOf(m_window); };
    setWindow(window);
}

TFormStorage::~TFormStorage() = default;

void TFormStorage::setWindow(QWidget *window)
{
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (m_window)
        m_window->installEventFilter(this);
}

void TFormStorage::addProperty(const QString &component, const QString &property, PropKind kind,
                               std::function<QVariant()> get, std::function<void(const QVariant &)> set)
{
    m_properties.push_back({component + QLatin1Char('_') + property, kind, std::move(get), std::move(set)});
}

QStringList TFormStorage::propertyKeys() const
{
    QStringList keys;
    for (const Property &p : m_properties)
        keys << p.key;
    return keys;
}

const TFormStorage::Value *TFormStorage::findValue(const QString &name) const
{
    for (const Value &v : m_values)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

TFormStorage::Value *TFormStorage::findValue(const QString &name)
{
    return const_cast<Value *>(std::as_const(*this).findValue(name));
}

bool TFormStorage::addValue(const QString &name, const QString &value, const QString &keyString,
                            QString *error)
{
    if (findValue(name)) {
        qCWarning(lcQuillon) << m_section << "stored value" << name << "refused:" << kDuplicates;
        if (error)
            *error = kDuplicates;
        return false;
    }
    m_values.push_back({name, value, keyString});
    return true;
}

bool TFormStorage::hasValue(const QString &name) const
{
    return findValue(name) != nullptr;
}

QString TFormStorage::storedValue(const QString &name, const QString &fallback) const
{
    const Value *v = findValue(name);
    return v ? v->value : fallback;
}

void TFormStorage::setStoredValue(const QString &name, const QString &value)
{
    if (Value *v = findValue(name))
        v->value = value;
    else
        m_values.push_back({name, value, QString()});
}

QStringList TFormStorage::valueNames() const
{
    QStringList names;
    for (const Value &v : m_values)
        names << v.name;
    return names;
}

QString TFormStorage::encodeProperty(PropKind kind, const QVariant &value)
{
    switch (kind) {
    case PropKind::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case PropKind::Integer:
    case PropKind::Colour:
        return QString::number(value.toLongLong());
    case PropKind::Float:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case PropKind::Text:
        break;
    }
    return value.toString().trimmed();
}

bool TFormStorage::decodeProperty(PropKind kind, const QString &text, QVariant &out)
{
    const QString t = text.trimmed();
    bool ok = false;
    switch (kind) {
    case PropKind::Boolean:
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            out = true;
        else if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            out = false;
        else
            return false;
        return true;
    case PropKind::Integer:
    case PropKind::Colour: {
        const qlonglong v = t.toLongLong(&ok);
        if (ok)
            out = v;
        return ok;
    }
    case PropKind::Float: {
        const double v = t.toDouble(&ok); // "." whatever the locale
        if (ok)
            out = v;
        return ok;
    }
    case PropKind::Text:
        out = t;
        return true;
    }
    return false;
}

void TFormStorage::savePlacement(IniStore &ini, bool destroying) const
{
    const ScreenMetrics metrics = screenMetrics();
    int flags = 0;
    int showCmd = kShowNormal;
    QRect normal;
    QString active;
    if (m_window) {
        const Qt::WindowStates state = m_window->windowState();
        if (state & Qt::WindowMinimized) {
            showCmd = kShowMinimized;
            if (state & Qt::WindowMaximized)
                flags |= kRestoreToMaximized;
        } else if (state & Qt::WindowMaximized) {
            showCmd = kShowMaximized;
        }
        normal = m_window->normalGeometry();
        if (!normal.isValid())
            normal = m_window->geometry();
        if (const QWidget *focus = m_window->focusWidget(); focus && focus != m_window)
            active = focus->objectName();
    }
    // Qt keeps no icon or maximised positions; -1 is what Windows writes for "none".
    const QString minMax = joinFour(-1, -1, -1, -1);
    const QString norm =
        joinFour(normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height());
    const QString suffix = screenSuffix(metrics);
    ini.setValue(m_section, QStringLiteral("FormVersion"), QString::number(m_version));
    ini.setValue(m_section, QStringLiteral("Flags"), QString::number(flags));
    ini.setValue(m_section, QStringLiteral("ShowCmd"), QString::number(showCmd));
    ini.setValue(m_section, QStringLiteral("PixelsPerInch"), QString::number(metrics.pixelsPerInch));
    ini.setValue(m_section, QStringLiteral("MinMaxPos") + suffix, minMax);
    ini.setValue(m_section, QStringLiteral("MinMaxPos"), minMax);
    ini.setValue(m_section, QStringLiteral("NormPos") + suffix, norm);
    ini.setValue(m_section, QStringLiteral("NormPos"), norm);
    ini.setValue(m_section, QStringLiteral("Visible"),
                 destroying ? QStringLiteral("1") : QStringLiteral("0"));
    if (m_options & foActiveControl)
        ini.setValue(m_section, QStringLiteral("ActiveControl"), active);
}

void TFormStorage::restorePlacement(const IniStore &ini) const
{
    if (!m_window)
        return;
    const ScreenMetrics metrics = screenMetrics();
    auto number = [&](const char *key, int fallback) {
        bool ok = false;
        const int v = ini.value(m_section, QLatin1String(key), QString()).toInt(&ok);
        return ok ? v : fallback;
    };
    if (m_options & foPosition && ini.contains(m_section, QStringLiteral("PixelsPerInch")) &&
        number("PixelsPerInch", -1) == metrics.pixelsPerInch) {
        const QString suffixed = QStringLiteral("NormPos") + screenSuffix(metrics);
        const QString text = ini.value(m_section, suffixed)
                                 .value_or(ini.value(m_section, QStringLiteral("NormPos"), QString()));
        int r[4];
        if (splitFour(text, r) && r[2] > r[0] && r[3] > r[1]) {
            const bool fixedSize = m_window->minimumSize() == m_window->maximumSize();
            if (fixedSize)
                m_window->move(r[0], r[1]);
            else
                m_window->setGeometry(r[0], r[1], r[2] - r[0], r[3] - r[1]);
        }
    }
    if (m_options & foState && ini.contains(m_section, QStringLiteral("ShowCmd"))) {
        const int showCmd = number("ShowCmd", kShowNormal);
        const int flags = number("Flags", 0);
        Qt::WindowStates state = Qt::WindowNoState;
        if (showCmd == 2 || showCmd == 6 || showCmd == 7) {
            state = Qt::WindowMinimized;
            if (flags & kRestoreToMaximized)
                state |= Qt::WindowMaximized;
        } else if (showCmd == kShowMaximized) {
            state = Qt::WindowMaximized;
        }
        m_window->setWindowState(state);
    }
    if (m_options & foActiveControl) {
        const QString name = ini.value(m_section, QStringLiteral("ActiveControl"), QString());
        if (!name.isEmpty())
            if (QWidget *control = m_window->findChild<QWidget *>(name))
                control->setFocus();
    }
}

void TFormStorage::save(IniStore &ini, bool destroying)
{
    if (onSavePlacement)
        onSavePlacement();
    if (placementStored())
        savePlacement(ini, destroying);
    for (const Property &p : m_properties)
        if (!ini.setValue(m_section, p.key, encodeProperty(p.kind, p.get())))
            qCWarning(lcQuillon) << m_section << p.key << "cannot be stored";
    for (const Value &v : m_values) {
        const QString text = v.keyString.isEmpty() ? v.value : xorEncode(v.value, v.keyString);
        if (!ini.setValue(m_section, v.name, text))
            qCWarning(lcQuillon) << m_section << v.name << "cannot be stored";
    }
}

void TFormStorage::restore(const IniStore &ini)
{
    if (const auto version = ini.value(m_section, QStringLiteral("FormVersion"))) {
        bool ok = false;
        const int stored = version->toInt(&ok);
        if (ok && stored < m_version)
            return; // written by an older layout of the window
    }
    if (placementStored())
        restorePlacement(ini);
    for (const Property &p : m_properties) {
        const auto text = ini.value(m_section, p.key);
        if (!text)
            continue;
        QVariant value;
        if (decodeProperty(p.kind, *text, value))
            p.set(value);
        else
            qCInfo(lcQuillon) << m_section << p.key << "keeps its value; cannot read" << *text;
    }
    for (Value &v : m_values) {
        const auto text = ini.value(m_section, v.name);
        if (text)
            v.value = v.keyString.isEmpty() ? *text : xorDecode(*text, v.keyString);
    }
    if (onRestorePlacement)
        onRestorePlacement();
}

void TFormStorage::attach(IniStore *ini, const QString &fileName)
{
    m_ini = ini;
    m_fileName = fileName;
}

bool TFormStorage::saveToAttached(bool destroying)
{
    if (!m_ini)
        return false;
    save(*m_ini, destroying);
    QString reason;
    if (!m_fileName.isEmpty() && !m_ini->save(m_fileName, &reason)) {
        qCWarning(lcQuillon) << m_section << "not written:" << reason;
        return false;
    }
    return true;
}

void TFormStorage::windowDestroying()
{
    if (m_active)
        saveToAttached(true);
    m_active = false;
}

bool TFormStorage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && m_active && m_ini) {
        if (event->type() == QEvent::Show && !m_restoredOnShow) {
            m_restoredOnShow = true;
            restore(*m_ini);
        } else if (event->type() == QEvent::Close) {
            saveToAttached(false);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillon
