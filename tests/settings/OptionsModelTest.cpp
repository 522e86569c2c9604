#include "settings/OptionsModel.h"

#include "settings/Ciphers.h"
#include "settings/IniStore.h"
#include "settings/SettingsSections.h"

#include "SettingsTestSupport.h"

#include <QDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace quillon;

namespace {

const ScreenMetrics kScreen{QSize(1024, 768), 96};

IniStore parsed(const QByteArray &text)
{
    IniStore ini;
    ini.parse(text);
    return ini;
}

QString fixture(const char *name)
{
    return QStringLiteral(QUILLON_FIXTURES "/settings/") + QLatin1String(name);
}

// Every section of a first run, each over a window of known placement on a known screen.
struct FirstRun {
    QWidget optionsWindow;
    OptionsModel options;
    std::vector<std::unique_ptr<QWidget>> windows;
    std::vector<std::unique_ptr<SectionState>> sections;

    FirstRun()
    {
        optionsWindow.setGeometry(200, 150, 480, 400);
        options.setWindow(&optionsWindow);
        options.storage().screenMetrics = [] { return kScreen; };
        options.startOfRun();
        for (const SectionLayout &layout : formSections()) {
            windows.push_back(std::make_unique<QWidget>());
            windows.back()->setGeometry(100, 80, 640, 480);
            sections.push_back(std::make_unique<SectionState>(layout, windows.back().get()));
            sections.back()->storage().screenMetrics = [] { return kScreen; };
        }
    }
    void save(IniStore &ini)
    {
        options.save(ini);
        for (auto &s : sections)
            s->save(ini);
    }
    void restore(const IniStore &ini)
    {
        options.restore(ini);
        for (auto &s : sections)
            s->restore(ini);
    }
};

QByteArray expectedFirstSave()
{
#ifdef Q_OS_WIN
    return test::readAll(fixture("first-save-windows.ini"));
#else
    // The music folder is the user's own, so the golden file names it by a placeholder.
    return test::readAll(fixture("first-save-linux.ini")).replace("@MUSIC@", defaultMusicFolder().toUtf8());
#endif
}

TEST(SettingsFileTest, FirstSaveWithDefaultsIsTheGoldenFile)
{
    FirstRun run;
    IniStore ini;
    run.save(ini);
    const QByteArray written = ini.toBytes();
    const QByteArray expected = expectedFirstSave();
    EXPECT_EQ(written.toStdString(), expected.toStdString());
    if (written != expected)
        test::writeAll(QStringLiteral(QUILLON_BINARY_DIR "/first-save.actual.ini"), written);
}

TEST(SettingsFileTest, SecondSaveChangesNothing)
{
    IniStore first;
    {
        FirstRun run;
        run.save(first);
    }
    const QByteArray bytes = first.toBytes();
    IniStore reread = parsed(bytes);
    FirstRun again;
    again.restore(reread);
    again.save(reread);
    EXPECT_EQ(reread.toBytes().toStdString(), bytes.toStdString());
    again.save(reread);
    EXPECT_EQ(reread.toBytes().toStdString(), bytes.toStdString());
}

TEST(SettingsFileTest, HandWrittenFileReadsAsWritten)
{
    const IniStore ini = parsed(test::readAll(fixture("hand-written.ini")));
    OptionsModel o;
    o.restore(ini);
    EXPECT_FALSE(o.ChkJoliet()) << "keys and words match without regard to case";
    EXPECT_TRUE(o.ChkIso31());
    EXPECT_EQ(o.EditAppID(), QStringLiteral("\"Heroes\"")) << "one added pair of quotes removed";
    EXPECT_EQ(o.EditPublisherID(), QStringLiteral("'Til Tuesday"));
    EXPECT_EQ(o.EditPreparerID(), QStringLiteral("abc")) << "blanks trimmed";
    EXPECT_EQ(o.DirOutput(), QStringLiteral("C:\\My music")) << "a backslash is literal";
    EXPECT_EQ(o.EditLame(), QStringLiteral("\\\\server\\share\\lame.exe"));
    EXPECT_EQ(o.SpinBuffer(), 8);
    EXPECT_EQ(o.SpinFontAllSize(), 10) << "a number that is no number leaves the default";
    EXPECT_TRUE(o.ChkPad()) << "an unknown word leaves the default";
    EXPECT_TRUE(o.ChkDeep()) << "a missing key leaves the default";
    EXPECT_EQ(o.ColorFontAll(), 16744448);
    EXPECT_EQ(o.ComboCompression(), 1) << "no selection becomes entry 1";
    EXPECT_EQ(o.ComboQuality(), 5);
    EXPECT_EQ(o.ComboBitrate(), -1) << "an empty position leaves the list";
    EXPECT_EQ(o.ComboBitrateMax(), -1) << "a position that is no number leaves the list";
    EXPECT_EQ(o.ComboCDs(), 2);
    EXPECT_EQ(o.ComboCDsIdentity(), (RecorderIdentity{"HL-DT-ST", "DVDRAM GH24NSB0", "/dev/sr0"}));
    EXPECT_EQ(o.EditProxyPassword(), QString::fromUtf8(decipherPassword(QStringLiteral("  7 42213"))))
        << "the trimmed password is padded back before deciphering";
}

TEST(OptionsModelTest, TableHasEveryKeyInFileOrder)
{
    const QList<OptionsModel::Info> &table = OptionsModel::table();
    QStringList stored;
    int properties = 0;
    int unstored = 0;
    for (const OptionsModel::Info &row : table) {
        if (row.storage == OptionsModel::Storage::NotStored)
            ++unstored;
        else
            stored << row.key;
        if (row.storage == OptionsModel::Storage::Property)
            ++properties;
        if (row.key != QLatin1String("ComboCDs_Identity"))
            EXPECT_EQ(OptionsModel().value(row.control), row.defaultValue) << row.control.toStdString();
    }
    EXPECT_EQ(stored.size(), 71) << "70 keys and the recorder identity";
    EXPECT_EQ(properties, 59);
    EXPECT_EQ(unstored, 6);
    EXPECT_EQ(stored.first(), QStringLiteral("ChkAppID_Checked"));
    EXPECT_EQ(
        stored.mid(58, 13),
        (QStringList{"ChkWriteAuthor_Checked", "ComboCDs_ItemIndex", "ComboCompression_ItemIndex",
                     "ComboQuality_ItemIndex", "ComboBitrateMin_ItemIndex", "ComboBitrate_ItemIndex",
                     "ComboBitrateMax_ItemIndex", "ComboCharacterSet_ItemIndex", "ComboRipNorm_ItemIndex",
                     "Edit1_text", "ComboFreq_ItemIndex", "ComboStereo_ItemIndex", "ComboCDs_Identity"}));
}

TEST(OptionsModelTest, AccessByControlName)
{
    OptionsModel o;
    struct Case {
        const char *control;
        QVariant expected;
    } defaults[] = {
        {"ChkJoliet", true},
        {"ChkStoreDir", false},
        {"EditCddbPath", "/~cddb/cddb.cgi"},
        {"EditCddbServer", "gnudb.gnudb.org"},
        {"EditProxyPort", 80.0},
        {"SpinBuffer", 4.0},
        {"ChkUseBg", true},
        {"SpinFontAllSize", 10.0},
        {"ChkMp3Comment", true},
        {"RadioTheSame", true},
        {"ComboCDs", 0},
        {"ComboCompression", 0},
        {"ComboCharacterSet", -1},
        {"ComboFreq", -1},
        {"ChkAskCDDB", false},
        {"ChrRemoveOK", true},
        {"ChkFixCRC", false},
        {"EditBitrate", 192.0},
        {"EditUserLame", QString()},
        {"EditProxyPassword", QString()},
    };
    for (const Case &c : defaults)
        EXPECT_EQ(o.value(QLatin1String(c.control)), c.expected) << c.control;
    EXPECT_TRUE(o.setValue(QStringLiteral("chkjoliet"), false));
    EXPECT_FALSE(o.ChkJoliet());
    EXPECT_FALSE(o.setValue(QStringLiteral("NoSuchControl"), 1));
    EXPECT_FALSE(o.value(QStringLiteral("NoSuchControl")).isValid());
    o.startOfRun();
    EXPECT_EQ(o.ComboFreq(), 0);
    EXPECT_EQ(o.ComboStereo(), 0);
}

TEST(OptionsModelTest, PasswordIsStoredEncipheredAndReadsBackExactly)
{
    for (const char *password : {"", "a", "secret", "  blanks  ", "\xc3\xa9t\xc3\xa9"}) {
        OptionsModel o;
        o.setEditProxyPassword(QString::fromUtf8(password));
        IniStore ini;
        o.save(ini);
        const QString stored = ini.value("Options", "Edit1_text", QStringLiteral("<missing>"));
        EXPECT_EQ(stored, encipherPasswordText(QString::fromUtf8(password))) << password;
        OptionsModel back;
        back.setEditProxyPassword(QStringLiteral("other"));
        back.restore(parsed(ini.toBytes()));
        EXPECT_EQ(back.EditProxyPassword(), QString::fromUtf8(password)) << password;
    }
    OptionsModel empty;
    IniStore ini;
    empty.save(ini);
    EXPECT_TRUE(ini.toBytes().contains("\r\nEdit1_text=\r\n")) << "an empty password is an empty value";
}

TEST(OptionsModelTest, UnquotedHandWrittenPasswordStillDeciphers)
{
    OptionsModel quoted;
    quoted.restore(parsed("[Options]\r\nEdit1_text=\"  7 42213\"\r\n"));
    OptionsModel unquoted;
    unquoted.restore(parsed("[Options]\r\nEdit1_text=  7 42213\r\n"));
    EXPECT_EQ(unquoted.EditProxyPassword(), quoted.EditProxyPassword());
    EXPECT_EQ(quoted.EditProxyPassword(), QString::fromUtf8(decipherPassword(QStringLiteral("  7 42213"))));
}

TEST(OptionsModelTest, RecorderPositionIsScrambledAndItsIdentityKeptBeside)
{
    OptionsModel o;
    o.setComboCDs(10);
    o.setComboCDsIdentity({QStringLiteral("VEND  "), QStringLiteral("Writer X"), QStringLiteral("/dev/sr1")});
    IniStore ini;
    o.save(ini);
    EXPECT_EQ(ini.value("Options", "ComboCDs_ItemIndex", QString()),
              xorEncode(QStringLiteral("10"), recorderIndexKey()));
    EXPECT_EQ(ini.value("Options", "ComboCDs_Identity", QString()), QStringLiteral("VEND|Writer X|/dev/sr1"));
    EXPECT_EQ(ini.keys("Options").last(), QStringLiteral("ComboCDs_Identity"));
    OptionsModel back;
    back.restore(parsed(ini.toBytes()));
    EXPECT_EQ(back.ComboCDs(), 10);
    EXPECT_EQ(back.ComboCDsIdentity().product, QStringLiteral("Writer X"));
}

TEST(OptionsModelTest, RestoreRevertsStoredOptionsButNotTheOthers)
{
    OptionsModel o;
    IniStore ini;
    o.save(ini);
    o.setChkJoliet(false);
    o.setEditTmpFile(QStringLiteral("/tmp/x.iso"));
    o.setComboQuality(4);
    o.setEditProxyPassword(QStringLiteral("changed"));
    o.setChrRemoveOK(false);
    o.setEditBitrate(128);
    o.restore(ini);
    EXPECT_TRUE(o.ChkJoliet());
    EXPECT_EQ(o.EditTmpFile(), QString());
    EXPECT_EQ(o.ComboQuality(), -1);
    EXPECT_EQ(o.EditProxyPassword(), QString());
    EXPECT_FALSE(o.ChrRemoveOK()) << "a control that is not stored keeps what the user chose";
    EXPECT_EQ(o.EditBitrate(), 128);
}

TEST(SectionStateTest, StoredValuesAndNamedAccess)
{
    SectionState console(*formSection(QStringLiteral("TDlgConsole")));
    EXPECT_EQ(console.value(QStringLiteral("EditSpeed_Value")), 8.0);
    EXPECT_EQ(console.value(QStringLiteral("comboSpeed_itemIndex")), 0);
    console.restore(parsed("[TDlgConsole]\r\nComboSpeed_ItemIndex=3\r\nEditSpeed_Value=12\r\n"));
    EXPECT_EQ(console.value(QStringLiteral("ComboSpeed_ItemIndex")), 3);
    EXPECT_EQ(console.value(QStringLiteral("EditSpeed_Value")), 12.0);
    console.restore(parsed("[TDlgConsole]\r\nComboSpeed_ItemIndex=x\r\n"));
    EXPECT_EQ(console.value(QStringLiteral("ComboSpeed_ItemIndex")), 3);
    EXPECT_FALSE(console.setValue(QStringLiteral("Unknown"), 1));

    EXPECT_TRUE(SectionState(*formSection(QStringLiteral("Check MP3"))).storage().active())
        << "the check dialog's storage is active from the start";
    EXPECT_FALSE(SectionState(*formSection(QStringLiteral("TMainForm"))).storage().active());
}

TEST(MruItemsTest, SectionIsRewrittenAsAWhole)
{
    IniStore ini = parsed("[MRU Items]\r\nF0=old\r\nF9=stale\r\n[Other]\r\nk=v\r\n");
    QStringList files;
    for (int i = 0; i < 9; ++i)
        files << QStringLiteral("C:\\Projects\\p%1.qpr").arg(i);
    saveMruItems(ini, files);
    EXPECT_EQ(ini.keys("MRU Items"), (QStringList{"F0", "F1", "F2", "F3", "F4", "F5", "F6"}));
    EXPECT_EQ(restoreMruItems(ini), files.mid(0, 7));
    EXPECT_EQ(ini.sections().last(), QStringLiteral("MRU Items"));
    saveMruItems(ini, {});
    EXPECT_FALSE(ini.hasSection("MRU Items"));
    EXPECT_TRUE(restoreMruItems(ini).isEmpty());
}

} // namespace
