#include "settings/FormStorage.h"

#include "settings/Ciphers.h"
#include "settings/IniStore.h"

#include "SettingsTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

IniStore parsed(const char *text)
{
    IniStore ini;
    ini.parse(QByteArray(text));
    return ini;
}

// A storage over plain variables, with fixed screen figures.
struct Bound {
    bool flag = true;
    qlonglong count = 151;
    qlonglong colour = 0;
    double spin = 4;
    QString text = QStringLiteral("Quillon CD");
    TFormStorage storage;
    explicit Bound(int options = 0, QWidget *window = nullptr)
        : storage(QStringLiteral("S"), options, window)
    {
        storage.screenMetrics = [] { return ScreenMetrics{QSize(1024, 768), 96}; };
        storage.addProperty(
            "ChkFlag", "Checked", PropKind::Boolean, [this] { return flag; },
            [this](const QVariant &v) { flag = v.toBool(); });
        storage.addProperty(
            "Panel", "Height", PropKind::Integer, [this] { return count; },
            [this](const QVariant &v) { count = v.toLongLong(); });
        storage.addProperty(
            "ColorFont", "Color", PropKind::Colour, [this] { return colour; },
            [this](const QVariant &v) { colour = v.toLongLong(); });
        storage.addProperty(
            "Spin", "Value", PropKind::Float, [this] { return spin; },
            [this](const QVariant &v) { spin = v.toDouble(); });
        storage.addProperty(
            "Edit", "Text", PropKind::Text, [this] { return text; },
            [this](const QVariant &v) { text = v.toString(); });
    }
};

TEST(FormStorageTest, PropertyEncoding)
{
    QLocale::setDefault(QLocale(QLocale::German));
    struct Case {
        const char *name;
        PropKind kind;
        QVariant value;
        const char *written;
    } cases[] = {
        {"true", PropKind::Boolean, true, "True"},
        {"false", PropKind::Boolean, false, "False"},
        {"negative number", PropKind::Integer, -5, "-5"},
        {"colour as decimal 0x00BBGGRR", PropKind::Colour, 0x00FF8000, "16744448"},
        {"spin value 80 without decimals", PropKind::Float, 80.0, "80"},
        {"spin value 2.5 with a point", PropKind::Float, 2.5, "2.5"},
        {"text trimmed", PropKind::Text, QStringLiteral(" abc "), "abc"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TFormStorage::encodeProperty(c.kind, c.value), QString::fromLatin1(c.written)) << c.name;
    QLocale::setDefault(QLocale::c());
}

TEST(FormStorageTest, PropertiesRoundTripThroughTheFile)
{
    Bound a;
    a.flag = false;
    a.count = -3;
    a.colour = 255;
    a.spin = 2.5;
    a.text = QStringLiteral("\"Heroes\"");
    IniStore ini;
    a.storage.save(ini);
    EXPECT_TRUE(ini.toBytes().contains("Edit_Text=\"\"Heroes\"\"\r\n")) << ini.toBytes().constData();
    IniStore again;
    again.parse(ini.toBytes());
    Bound b;
    b.storage.restore(again);
    EXPECT_EQ(b.flag, false);
    EXPECT_EQ(b.count, -3);
    EXPECT_EQ(b.colour, 255);
    EXPECT_EQ(b.spin, 2.5);
    EXPECT_EQ(b.text, QStringLiteral("\"Heroes\""));
}

TEST(FormStorageTest, ReadingIsCaseBlindAndForgiving)
{
    const IniStore ini = parsed("[s]\r\n"
                                "chkflag_checked=FALSE\r\n"
                                "PANEL_HEIGHT=12x\r\n"
                                "Spin_Value=not a number\r\n"
                                "Edit_Text=  abc  \r\n");
    Bound b;
    b.storage.restore(ini);
    EXPECT_FALSE(b.flag) << "keys and words match without regard to case";
    EXPECT_EQ(b.count, 151) << "a value that does not convert leaves the property";
    EXPECT_EQ(b.spin, 4);
    EXPECT_EQ(b.text, QStringLiteral("abc"));
    EXPECT_EQ(b.colour, 0) << "a missing key leaves the property";

    const IniStore unknownWord = parsed("[S]\r\nChkFlag_Checked=yes\r\n");
    b.storage.restore(unknownWord);
    EXPECT_FALSE(b.flag) << "an unknown word leaves the property";
}

TEST(FormStorageTest, StoredValuesByName)
{
    TFormStorage storage(QStringLiteral("S"), 0);
    ASSERT_TRUE(storage.addValue(QStringLiteral("ComboSpeed_ItemIndex"), QStringLiteral("0")));
    QString error;
    EXPECT_FALSE(storage.addValue(QStringLiteral("comboSPEED_itemindex"), QString(), QString(), &error));
    EXPECT_EQ(error, QStringLiteral("String list does not allow duplicates"));
    storage.setStoredValue(QStringLiteral("COMBOSPEED_ITEMINDEX"), QStringLiteral("3"));
    storage.setStoredValue(QStringLiteral("Fresh"), QStringLiteral("  blanks kept "));
    EXPECT_EQ(storage.storedValue(QStringLiteral("combospeed_itemindex")), QStringLiteral("3"));
    EXPECT_EQ(storage.valueNames(), (QStringList{"ComboSpeed_ItemIndex", "Fresh"}));

    IniStore ini;
    storage.save(ini);
    TFormStorage back(QStringLiteral("S"), 0);
    back.addValue(QStringLiteral("ComboSpeed_ItemIndex"));
    back.addValue(QStringLiteral("Fresh"));
    IniStore again;
    again.parse(ini.toBytes());
    back.restore(again);
    EXPECT_EQ(back.storedValue(QStringLiteral("Fresh")), QStringLiteral("  blanks kept "));
    EXPECT_EQ(back.storedValue(QStringLiteral("ComboSpeed_ItemIndex")), QStringLiteral("3"));
}

TEST(FormStorageTest, ScrambledValueIsWrittenEncoded)
{
    TFormStorage storage(QStringLiteral("S"), 0);
    storage.addValue(QStringLiteral("ComboCDs_ItemIndex"), QStringLiteral("10"), recorderIndexKey());
    IniStore ini;
    storage.save(ini);
    EXPECT_EQ(ini.value("S", "ComboCDs_ItemIndex", QString()),
              xorEncode(QStringLiteral("10"), recorderIndexKey()));
    storage.setStoredValue(QStringLiteral("ComboCDs_ItemIndex"), QString());
    storage.restore(ini);
    EXPECT_EQ(storage.storedValue(QStringLiteral("ComboCDs_ItemIndex")), QStringLiteral("10"));
}

TEST(FormStorageTest, WindowKeysInTheirOrder)
{
    QWidget window;
    window.setGeometry(10, 20, 300, 200);
    auto *edit = new QLineEdit(&window);
    edit->setObjectName(QStringLiteral("EditName"));
    Bound b(TFormStorage::foState | TFormStorage::foPosition | TFormStorage::foActiveControl, &window);
    IniStore ini;
    b.storage.save(ini);
    const QStringList expected = {
        "FormVersion",       "Flags",      "ShowCmd",  "PixelsPerInch", "MinMaxPos(1024x768)", "MinMaxPos",
        "NormPos(1024x768)", "NormPos",    "Visible",  "ActiveControl", "ChkFlag_Checked",     "Panel_Height",
        "ColorFont_Color",   "Spin_Value", "Edit_Text"};
    EXPECT_EQ(ini.keys("S"), expected);
    EXPECT_EQ(ini.value("S", "NormPos", QString()), QStringLiteral("10,20,310,220"))
        << "right and bottom exclusive";
    EXPECT_EQ(ini.value("S", "MinMaxPos(1024x768)", QString()), QStringLiteral("-1,-1,-1,-1"));
    EXPECT_EQ(ini.value("S", "ShowCmd", QString()), QStringLiteral("1"));
    EXPECT_EQ(ini.value("S", "PixelsPerInch", QString()), QStringLiteral("96"));
    EXPECT_EQ(ini.value("S", "Visible", QString()), QStringLiteral("0"));
    b.storage.save(ini, true);
    EXPECT_EQ(ini.value("S", "Visible", QString()), QStringLiteral("1")) << "written while being destroyed";

    Bound plain(TFormStorage::foState, &window);
    IniStore other;
    plain.storage.save(other);
    EXPECT_FALSE(other.contains("S", "ActiveControl")) << "only with the active-control option";
    Bound none;
    IniStore bare;
    none.storage.save(bare);
    EXPECT_FALSE(bare.contains("S", "FormVersion")) << "no window keys without state or position";
}

TEST(FormStorageTest, RestoreTakesTheScreenKeyFirstAndNeedsTheSameDpi)
{
    struct Case {
        const char *name;
        const char *file;
        QRect expected;
    } cases[] = {
        {"screen-suffixed key first",
         "[S]\r\nPixelsPerInch=96\r\nNormPos=1,2,101,102\r\nNormPos(1024x768)=5,6,405,306\r\n",
         QRect(5, 6, 400, 300)},
        {"plain key second",
         "[S]\r\nPixelsPerInch=96\r\nNormPos(800x600)=9,9,99,99\r\nNormPos=1,2,201,152\r\n",
         QRect(1, 2, 200, 150)},
        {"other DPI: position kept", "[S]\r\nPixelsPerInch=120\r\nNormPos=1,2,201,152\r\n",
         QRect(50, 60, 320, 240)},
        {"no DPI: position kept", "[S]\r\nNormPos=1,2,201,152\r\n", QRect(50, 60, 320, 240)},
        {"garbled position", "[S]\r\nPixelsPerInch=96\r\nNormPos=1,2,x,4\r\n", QRect(50, 60, 320, 240)},
    };
    for (const Case &c : cases) {
        QWidget window;
        window.setGeometry(50, 60, 320, 240);
        Bound b(TFormStorage::foState | TFormStorage::foPosition, &window);
        b.storage.restore(parsed(c.file));
        EXPECT_EQ(window.geometry(), c.expected) << c.name;
    }

    QWidget fixed;
    fixed.setGeometry(50, 60, 320, 240);
    fixed.setFixedSize(320, 240);
    Bound f(TFormStorage::foPosition, &fixed);
    f.storage.restore(parsed("[S]\r\nPixelsPerInch=96\r\nNormPos=1,2,201,152\r\n"));
    EXPECT_EQ(fixed.geometry(), QRect(1, 2, 320, 240)) << "a window of fixed size only moves";
}

TEST(FormStorageTest, ShowCmdSetsTheWindowState)
{
    struct Case {
        const char *showCmd;
        const char *flags;
        Qt::WindowStates expected;
    } cases[] = {
        {"1", "0", Qt::WindowNoState},   {"5", "0", Qt::WindowNoState},
        {"3", "0", Qt::WindowMaximized}, {"2", "0", Qt::WindowMinimized},
        {"7", "0", Qt::WindowMinimized}, {"2", "2", Qt::WindowMinimized | Qt::WindowMaximized},
    };
    for (const Case &c : cases) {
        QWidget window;
        Bound b(TFormStorage::foState, &window);
        const QByteArray file = QByteArray("[S]\r\nFlags=") + c.flags + "\r\nShowCmd=" + c.showCmd + "\r\n";
        IniStore ini;
        ini.parse(file);
        b.storage.restore(ini);
        EXPECT_EQ(window.windowState(), c.expected) << "ShowCmd " << c.showCmd << " Flags " << c.flags;
        IniStore out;
        b.storage.save(out);
        EXPECT_EQ(out.value("S", "ShowCmd", QString()), c.expected & Qt::WindowMinimized ? QStringLiteral("2")
                                                        : c.expected & Qt::WindowMaximized
                                                            ? QStringLiteral("3")
                                                            : QStringLiteral("1"));
    }
}

TEST(FormStorageTest, NewerFormVersionInTheFileIsRequired)
{
    Bound b;
    b.storage.setVersion(2);
    b.storage.restore(parsed("[S]\r\nFormVersion=1\r\nChkFlag_Checked=False\r\n"));
    EXPECT_TRUE(b.flag) << "a section from an older layout is not restored";
    b.storage.restore(parsed("[S]\r\nFormVersion=2\r\nChkFlag_Checked=False\r\n"));
    EXPECT_FALSE(b.flag);
}

TEST(FormStorageTest, ActiveStorageRestoresOnFirstShowAndSavesOnClose)
{
    IniStore ini = parsed("[S]\r\nChkFlag_Checked=False\r\n");
    QWidget window;
    Bound b(TFormStorage::foState, &window);
    int restores = 0;
    b.storage.onRestorePlacement = [&] { ++restores; };
    b.storage.attach(&ini);
    window.show();
    window.hide();
    EXPECT_EQ(restores, 0) << "an inactive storage waits to be driven";
    b.storage.setActive(true);
    QWidget window2;
    Bound c(TFormStorage::foState, &window2);
    c.storage.attach(&ini);
    c.storage.setActive(true);
    window2.show();
    EXPECT_FALSE(c.flag) << "restored when first shown";
    c.flag = true;
    window2.close();
    EXPECT_EQ(ini.value("S", "ChkFlag_Checked", QString()), QStringLiteral("True")) << "saved on close";
}

} // namespace
