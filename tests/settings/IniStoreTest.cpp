#include "settings/IniStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

#include <csignal>
#include <sys/resource.h>

using quillon::IniStore;

// Failing assertions show the texts, not their bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

QString readBack(const IniStore &store, const QString &section, const QString &key)
{
    IniStore again;
    again.parse(store.toBytes());
    return again.value(section, key).value_or(QStringLiteral("<missing>"));
}

IniStore parsed(const char *text)
{
    IniStore store;
    store.parse(QByteArray(text));
    return store;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

struct WrittenValue {
    const char *name;
    QString value;
    QString line; // the line the value is written as
};

class ValueWriting : public testing::TestWithParam<WrittenValue> {};

TEST_P(ValueWriting, IsWrittenAsItsLineAndReadsBackUnchanged)
{
    const WrittenValue &c = GetParam();
    IniStore store;
    ASSERT_TRUE(store.setValue(QStringLiteral("S"), QStringLiteral("K"), c.value));
    const QByteArray expected = "[S]\r\n" + c.line.toUtf8() + "\r\n";
    EXPECT_EQ(store.toBytes(), expected) << "value <" << c.value.toStdString() << ">";
    EXPECT_EQ(readBack(store, QStringLiteral("S"), QStringLiteral("K")), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    QuoteRule, ValueWriting,
    testing::Values(
        WrittenValue{"plain_text", QStringLiteral("Quillon CD"), QStringLiteral("K=Quillon CD")},
        WrittenValue{"empty", QString(), QStringLiteral("K=")},
        WrittenValue{"double_quoted_title", QStringLiteral("\"Heroes\""), QStringLiteral("K=\"\"Heroes\"\"")},
        WrittenValue{"single_quoted_band", QStringLiteral("'Til Tuesday'"),
                     QStringLiteral("K=\"'Til Tuesday'\"")},
        WrittenValue{"leading_blanks", QStringLiteral("  indented"), QStringLiteral("K=\"  indented\"")},
        WrittenValue{"trailing_tab", QStringLiteral("tabbed\t"), QStringLiteral("K=\"tabbed\t\"")},
        WrittenValue{"only_blanks", QStringLiteral("   "), QStringLiteral("K=\"   \"")},
        WrittenValue{"backslash_path", QStringLiteral("C:\\My music"), QStringLiteral("K=C:\\My music")},
        WrittenValue{"trailing_backslash", QStringLiteral("C:\\My music\\"),
                     QStringLiteral("K=C:\\My music\\")},
        WrittenValue{"quotes_inside", QStringLiteral("say \"hi\" now"), QStringLiteral("K=say \"hi\" now")},
        WrittenValue{"unmatched_quotes", QStringLiteral("\"Heroes'"), QStringLiteral("K=\"Heroes'")},
        WrittenValue{"lone_quote", QStringLiteral("\""), QStringLiteral("K=\"")},
        WrittenValue{"blank_then_quote", QStringLiteral(" \""), QStringLiteral("K=\" \"\"")},
        WrittenValue{"equals_sign", QStringLiteral("a=b"), QStringLiteral("K=a=b")},
        WrittenValue{"non_latin", QStringLiteral("Zoë – Ñandú"), QStringLiteral("K=Zoë – Ñandú")}),
    [](const testing::TestParamInfo<WrittenValue> &info) { return std::string(info.param.name); });

struct ReadLine {
    const char *name;
    const char *line;
    QString value;
};

class LineReading : public testing::TestWithParam<ReadLine> {};

TEST_P(LineReading, GivesTheValue)
{
    const ReadLine &c = GetParam();
    const IniStore store = parsed((QByteArray("[S]\n") + c.line + "\n").constData());
    EXPECT_EQ(store.value(QStringLiteral("S"), QStringLiteral("K")).value_or(QStringLiteral("<missing>")),
              c.value)
        << "line <" << c.line << ">";
}

INSTANTIATE_TEST_SUITE_P(
    ProfileRules, LineReading,
    testing::Values(ReadLine{"blanks_trimmed", "K=   spaced out \t", QStringLiteral("spaced out")},
                    ReadLine{"blanks_around_equals", "  K  =  v", QStringLiteral("v")},
                    ReadLine{"double_quotes_removed", "K=\"  kept  \"", QStringLiteral("  kept  ")},
                    ReadLine{"single_quotes_removed", "K='x'", QStringLiteral("x")},
                    ReadLine{"only_one_pair_removed", "K=\"\"x\"\"", QStringLiteral("\"x\"")},
                    ReadLine{"quotes_of_two_kinds_stay", "K=\"x'", QStringLiteral("\"x'")},
                    ReadLine{"empty_quotes", "K=\"\"", QString()},
                    ReadLine{"backslashes_are_literal", "K=C:\\n\\t\\\"", QStringLiteral("C:\\n\\t\\\"")},
                    ReadLine{"first_equals_splits", "K==a=b", QStringLiteral("=a=b")},
                    ReadLine{"carriage_return_removed", "K=v\r", QStringLiteral("v")},
                    ReadLine{"comment_is_no_key", ";K=v", QStringLiteral("<missing>")},
                    ReadLine{"line_without_equals_is_no_key", "K", QStringLiteral("<missing>")}),
    [](const testing::TestParamInfo<ReadLine> &info) { return std::string(info.param.name); });

TEST(IniStore, MatchesSectionsAndKeysWithoutRegardToCase)
{
    IniStore store = parsed("[Options]\r\nChkJoliet_Checked=True\r\n");
    EXPECT_EQ(store.value(QStringLiteral("OPTIONS"), QStringLiteral("chkjoliet_checked")),
              QStringLiteral("True"));
    EXPECT_TRUE(store.hasSection(QStringLiteral("options")));

    ASSERT_TRUE(store.setValue(QStringLiteral("options"), QStringLiteral("CHKJOLIET_CHECKED"),
                               QStringLiteral("False")));
    EXPECT_EQ(store.toBytes(), QByteArray("[Options]\r\nChkJoliet_Checked=False\r\n"))
        << "the key is rewritten in its place and keeps the spelling it has in the file";
}

TEST(IniStore, KeepsTheFileLayoutWhenKeysAndSectionsAreWritten)
{
    IniStore store = parsed("; written by hand\n"
                            "[TMainForm]\n"
                            "PanelLocal_Height = 151\n"
                            "junk line\n"
                            "LblDefaultName_Caption=Quillon CD\n"
                            "\n"
                            "; the options\n"
                            "[Options]\n"
                            "ChkJoliet_Checked=True");
    store.setValue(QStringLiteral("TMainForm"), QStringLiteral("PanelLocal_Height"), QStringLiteral("200"));
    store.setValue(QStringLiteral("TMainForm"), QStringLiteral("OpenIsoDlg_InitialDir"),
                   QStringLiteral("C:\\My music"));
    store.setValue(QStringLiteral("Options"), QStringLiteral("ChkPad_Checked"), QStringLiteral("False"));
    store.setValue(QStringLiteral("MRU Items"), QStringLiteral("F0"), QStringLiteral("C:\\a.qpr"));

    EXPECT_EQ(store.toBytes(), QByteArray("; written by hand\r\n"
                                          "[TMainForm]\r\n"
                                          "PanelLocal_Height=200\r\n"
                                          "junk line\r\n"
                                          "LblDefaultName_Caption=Quillon CD\r\n"
                                          "OpenIsoDlg_InitialDir=C:\\My music\r\n"
                                          "\r\n"
                                          "; the options\r\n"
                                          "[Options]\r\n"
                                          "ChkJoliet_Checked=True\r\n"
                                          "ChkPad_Checked=False\r\n"
                                          "\r\n"
                                          "[MRU Items]\r\n"
                                          "F0=C:\\a.qpr\r\n"));
    EXPECT_EQ(store.sections(), QStringList({"TMainForm", "Options", "MRU Items"}));
    EXPECT_EQ(store.keys(QStringLiteral("TMainForm")),
              QStringList({"PanelLocal_Height", "LblDefaultName_Caption", "OpenIsoDlg_InitialDir"}));
}

TEST(IniStore, ErasesSectionsAndKeys)
{
    IniStore store = parsed("[A]\r\na=1\r\nb=2\r\n\r\n[MRU Items]\r\nF0=x\r\n\r\n[C]\r\nc=3\r\n");
    EXPECT_TRUE(store.removeKey(QStringLiteral("a"), QStringLiteral("A")));
    EXPECT_TRUE(store.removeSection(QStringLiteral("mru items")));
    EXPECT_FALSE(store.removeKey(QStringLiteral("A"), QStringLiteral("a"))) << "already gone";
    EXPECT_FALSE(store.removeSection(QStringLiteral("MRU Items"))) << "already gone";
    EXPECT_FALSE(store.value(QStringLiteral("A"), QStringLiteral("a")).has_value());
    EXPECT_EQ(store.toBytes(), QByteArray("[A]\r\nb=2\r\n\r\n[C]\r\nc=3\r\n"));

    // A section erased and written again as a whole, as the recent-file list is, goes to the
    // end without piling up blank lines.
    for (int round = 0; round < 2; ++round) {
        store.removeSection(QStringLiteral("MRU Items"));
        store.setValue(QStringLiteral("MRU Items"), QStringLiteral("F0"), QStringLiteral("y"));
    }
    EXPECT_EQ(store.toBytes(), QByteArray("[A]\r\nb=2\r\n\r\n[C]\r\nc=3\r\n\r\n[MRU Items]\r\nF0=y\r\n"));
}

TEST(IniStore, FirstOfEqualKeysAndSectionsWins)
{
    IniStore store = parsed("[S]\nk=first\nK=second\n[s]\nk=third\nother=x\n");
    EXPECT_EQ(store.value(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("first"));
    EXPECT_EQ(store.keys(QStringLiteral("S")), QStringList({"k"}));
    EXPECT_FALSE(store.contains(QStringLiteral("S"), QStringLiteral("other")))
        << "keys of a later twin are unseen";
    EXPECT_EQ(store.sections(), QStringList({"S"}));

    store.setValue(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("new"));
    EXPECT_EQ(store.toBytes(), QByteArray("[S]\r\nk=new\r\nK=second\r\n[s]\r\nk=third\r\nother=x\r\n"));
    store.removeKey(QStringLiteral("S"), QStringLiteral("K"));
    EXPECT_EQ(store.toBytes(), QByteArray("[S]\r\n[s]\r\nk=third\r\nother=x\r\n"))
        << "every line of the key goes";
    store.removeSection(QStringLiteral("S"));
    EXPECT_EQ(store.toBytes(), QByteArray());
}

TEST(IniStore, RefusesNamesAndValuesThatCannotBeALine)
{
    struct Case {
        const char *name;
        QString section, key, value;
    };
    const Case cases[] = {
        {"section with a bracket", QStringLiteral("a]b"), QStringLiteral("K"), QString()},
        {"section with blanks around", QStringLiteral(" S"), QStringLiteral("K"), QString()},
        {"empty key", QStringLiteral("S"), QString(), QString()},
        {"key with equals", QStringLiteral("S"), QStringLiteral("a=b"), QString()},
        {"key like a comment", QStringLiteral("S"), QStringLiteral(";K"), QString()},
        {"key like a header", QStringLiteral("S"), QStringLiteral("[K"), QString()},
        {"value with a line break", QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("a\r\nb")},
    };
    for (const Case &c : cases) {
        IniStore store;
        EXPECT_FALSE(store.setValue(c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(store.toBytes(), QByteArray()) << c.name << ": nothing may be written";
    }
}

TEST(IniStore, StaysIndexedThroughThousandsOfKeys)
{
    IniStore store;
    const int count = 5000;
    for (int i = 0; i < count; ++i)
        store.setValue(QStringLiteral("Titles"), QStringLiteral("Disc%1").arg(i), QString::number(i));
    for (int i = 0; i < count; i += 3)
        store.removeKey(QStringLiteral("titles"), QStringLiteral("DISC%1").arg(i));
    store.setValue(QStringLiteral("Titles"), QStringLiteral("Disc1"), QStringLiteral("rewritten"));

    IniStore again;
    again.parse(store.toBytes());
    for (int i = 0; i < count; ++i) {
        const auto value = again.value(QStringLiteral("Titles"), QStringLiteral("disc%1").arg(i));
        const QString expected = i % 3 == 0 ? QStringLiteral("<missing>")
                                 : i == 1   ? QStringLiteral("rewritten")
                                            : QString::number(i);
        ASSERT_EQ(value.value_or(QStringLiteral("<missing>")), expected) << "key Disc" << i;
    }
    EXPECT_EQ(again.keys(QStringLiteral("Titles")).size(), count - (count + 2) / 3);
}

class IniStoreFile : public testing::Test {
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(IniStoreFile, MissingFileIsAnEmptyStoreAndSaidSo)
{
    IniStore store = parsed("[Old]\nk=v\n");
    QString reason;
    const IniStore::LoadResult result = store.load(path(QStringLiteral("Quillon.ini")), &reason);
    EXPECT_EQ(result.status, IniStore::LoadStatus::Missing);
    EXPECT_FALSE(result);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(store.sections().isEmpty()) << "the earlier content is gone";
}

TEST_F(IniStoreFile, FolderInPlaceOfTheFileFailsToLoad)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Quillon.ini")));
    IniStore store;
    QString reason;
    EXPECT_EQ(store.load(path(QStringLiteral("Quillon.ini")), &reason).status, IniStore::LoadStatus::Failed);
    EXPECT_FALSE(reason.isEmpty());
}

TEST_F(IniStoreFile, SavesIntoANewFolderAndLoadsBack)
{
    const QString file = path(QStringLiteral("config/quillon/Quillon.ini"));
    IniStore store;
    store.setValue(QStringLiteral("Options"), QStringLiteral("EditTmpFile_FileName"),
                   QStringLiteral(" Zoë.iso "));
    QString reason;
    ASSERT_TRUE(store.save(file, &reason)) << reason.toStdString();
    EXPECT_EQ(fileBytes(file), QByteArray("[Options]\r\nEditTmpFile_FileName=\" Zo\xc3\xab.iso \"\r\n"))
        << "UTF-8 with CR LF line ends";

    IniStore loaded;
    ASSERT_TRUE(loaded.load(file, &reason)) << reason.toStdString();
    EXPECT_EQ(loaded.value(QStringLiteral("options"), QStringLiteral("edittmpfile_filename")),
              QStringLiteral(" Zoë.iso "));
}

TEST_F(IniStoreFile, FolderThatCannotBeMadeFailsWithAReason)
{
    ASSERT_TRUE(writeFile(path(QStringLiteral("blocker")), "a file, not a folder"));
    IniStore store;
    store.setValue(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
    QString reason;
    EXPECT_FALSE(store.save(path(QStringLiteral("blocker/Quillon.ini")), &reason));
    EXPECT_TRUE(reason.contains(QStringLiteral("blocker"))) << reason.toStdString();
}

// A disk that fills up half-way through the save: the file size limit makes the write fail
// for root as for anyone.
TEST_F(IniStoreFile, FailedSaveLeavesTheOldFile)
{
    const QString file = path(QStringLiteral("Quillon.ini"));
    const QByteArray old("[Options]\r\nChkJoliet_Checked=True\r\n");
    ASSERT_TRUE(writeFile(file, old));
    IniStore store;
    for (int i = 0; i < 200; ++i)
        store.setValue(QStringLiteral("Options"), QStringLiteral("Key%1").arg(i),
                       QStringLiteral("a longer value"));

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 256;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString reason;
    const bool didSave = store.save(file, &reason);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(didSave);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(fileBytes(file), old) << "the old file must stay as it was";
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"Quillon.ini"}))
        << "no temporary file may be left behind";
}

} // namespace
