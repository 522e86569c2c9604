#pragma once
// The form-state storage: one section of the settings file per window or dialog. It lists
// the control properties it stores (each under "Component_Property") and the extra named
// values it stores, and writes the window's placement keys in front of them.
//
// Value encoding: True/False, decimal whole numbers (colours as the decimal 0x00BBGGRR),
// floats in their shortest form with "." whatever the locale, texts trimmed. The ini store
// adds the quotes a value needs to read back unchanged. A key that is missing, or a value
// that does not convert, leaves its property as it is.
//
// Window keys, in this order: FormVersion, Flags, ShowCmd (1 normal, 2 minimised,
// 3 maximised), PixelsPerInch, MinMaxPos(WxH), MinMaxPos, NormPos(WxH), NormPos (left, top,
// right, bottom, the last two exclusive), Visible and, with the active-control option,
// ActiveControl. Positions are restored only at the same PixelsPerInch, the key with the
// current screen's size first and the plain key second. Positions are what Qt reports; where
// the platform hides them (Wayland) they read 0 and only the size comes back.
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <vector>

namespace quillon {

class IniStore;

enum class PropKind { Boolean, Integer, Colour, Float, Text };

// What the placement keys depend on; tests inject fixed figures.
struct ScreenMetrics {
    QSize size;             // the screen in pixels
    int pixelsPerInch = 96; // logical
};
ScreenMetrics screenMetricsOf(const QWidget *window);

class TFormStorage : public QObject {
    Q_OBJECT
public:
    enum Option { foState = 1, foPosition = 2, foActiveControl = 4 };

    TFormStorage(const QString &section, int options, QWidget *window = nullptr, QObject *parent = nullptr);
    ~TFormStorage() override;

    QString section() const { return m_section; }
    int options() const { return m_options; }
    int version() const { return m_version; }
    void setVersion(int version) { m_version = version; }
    QWidget *window() const { return m_window; }
    void setWindow(QWidget *window);

    // The screen figures used for the placement keys; the window's screen by default.
    std::function<ScreenMetrics()> screenMetrics;

    void addProperty(const QString &component, const QString &property, PropKind kind,
                     std::function<QVariant()> get, std::function<void(const QVariant &)> set);
    QStringList propertyKeys() const;

    // A named value; a key string makes it XOR-scrambled in the file. A name already there
    // (compared without regard to case) is refused with "String list does not allow
    // duplicates".
    bool addValue(const QString &name, const QString &value = QString(), const QString &keyString = QString(),
                  QString *error = nullptr);
    bool hasValue(const QString &name) const;
    QString storedValue(const QString &name, const QString &fallback = QString()) const;
    // Writes a named value, creating it when the name is new.
    void setStoredValue(const QString &name, const QString &value);
    QStringList valueNames() const;

    // The owner's handlers: before a save (to fill the stored values) and after a restore.
    std::function<void()> onSavePlacement;
    std::function<void()> onRestorePlacement;

    // Writes the window keys, the properties and the values. `destroying` marks a save made
    // while the window is being destroyed ("Visible" 1).
    void save(IniStore &ini, bool destroying = false);
    // Reads the section back: window placement, properties, values, then the handler.
    void restore(const IniStore &ini);

    // An active storage restores itself when its window is first shown and saves itself
    // (into `ini`, then into `fileName` when one is given) when the window closes.
    void attach(IniStore *ini, const QString &fileName = QString());
    void setActive(bool active) { m_active = active; }
    bool active() const { return m_active; }
    // For owners to call from their destructor, while the window is still whole.
    void windowDestroying();

    // The text form of a property value, and back (false leaves `out` unchanged).
    static QString encodeProperty(PropKind kind, const QVariant &value);
    static bool decodeProperty(PropKind kind, const QString &text, QVariant &out);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Property {
        QString key;
        PropKind kind;
        std::function<QVariant()> get;
        std::function<void(const QVariant &)> set;
    };
    struct Value {
        QString name;
        QString value;
        QString keyString;
    };
    const Value *findValue(const QString &name) const;
    Value *findValue(const QString &name);
    bool placementStored() const { return m_options & (foState | foPosition); }
    void savePlacement(IniStore &ini, bool destroying) const;
    void restorePlacement(const IniStore &ini) const;
    bool saveToAttached(bool destroying);

    QString m_section;
    int m_options;
    int m_version = 0;
    QPointer<QWidget> m_window;
    std::vector<Property> m_properties;
    std::vector<Value> m_values;
    IniStore *m_ini = nullptr;
    QString m_fileName;
    bool m_active = false;
    bool m_restoredOnShow = false;
};

} // namespace quillon
