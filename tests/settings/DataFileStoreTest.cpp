#include "settings/DataFileStore.h"

#include "settings/Ciphers.h"
#include "settings/Crc32.h"
#include "support/ScriptedPrompter.h"

#include "SettingsTestSupport.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;
using quillon::test::readAll;
using quillon::test::writeAll;

namespace {

TOptions sampleOptions()
{
    TOptions o;
    o.NewestVersion = QStringLiteral("2.3");
    o.ExpV = 1.25;
    o.LastU = 46000.5;
    o.WantAds = false;
    o.ShouldShowAd = true;
    o.LastBmp = 3;
    o.LastSpl = -1;
    o.RxSpin1 = 274;
    o.EditVBR = 45999.75;
    o.UseHTTPProxy = true;
    o.HTTPProxy = QStringLiteral("proxy.example.org");
    o.HTTPProxyPort = 3128;
    o.HTTPProxyUser = QStringLiteral("C:\\users\\me=you");
    o.setHTTPProxyPassword(QStringLiteral("  pass word\n"));
    o.Identify = QStringLiteral("Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 5.0)");
    o.MaxConnections = 4;
    o.InternetSpeed = 56;
    o.UseTruncate = true;
    o.TCPUser = QStringLiteral("Zo\u00eb \u65e5\u672c");
    o.TCPPassword = QStringLiteral("\\x41 stays literal\r\t");
    TBmpItem item;
    item.SplFrom = QStringLiteral("http://example.org/s.png");
    item.SplCRC = 0xFFFFFFFFu;
    item.SplOK = true;
    item.setSplTo(QStringLiteral("http://example.org/click"));
    item.SplType = ftJpg2000;
    item.SplResize = rtMitchel;
    item.X = 65535;
    item.Y = 60;
    item.BanFrom = QStringLiteral("http://example.org/b.gif");
    item.BanOK = true;
    item.BanCRC = 123456789u;
    item.setBanTo(QStringLiteral("http://example.org/banner"));
    item.BanType = ftNone;
    o.Bmps = {item, TBmpItem()};
    return o;
}

// A content line set with a correct checksum, to test the reader on hand-made files.
QByteArray withChecksum(const QByteArray &body)
{
    return body + "CRC32=" + QByteArray::number(crc32(body), 16).rightJustified(8, '0') + '\n';
}

TEST(DataFileContentTest, EveryPropertyRoundTrips)
{
    const TOptions original = sampleOptions();
    TOptions read;
    QString reason;
    ASSERT_TRUE(DataFileStore::deserialize(DataFileStore::serialize(original), read, &reason))
        << reason.toStdString();
    EXPECT_TRUE(read == original);
    EXPECT_EQ(read.HTTPProxyPassword(), QStringLiteral("  pass word\n"));
    EXPECT_EQ(read.Bmps[0].SplTo(), QStringLiteral("http://example.org/click"));
}

TEST(DataFileContentTest, LayoutOfTheLines)
{
    QLocale::setDefault(QLocale(QLocale::German));
    const TOptions o = sampleOptions();
    const QByteArray content = DataFileStore::serialize(o);
    QLocale::setDefault(QLocale::c());
    const QList<QByteArray> lines = content.split('\n');
    EXPECT_EQ(lines.first(), QByteArray("QuillonOptions/1"));
    EXPECT_TRUE(lines.contains("LastU=46000.5")) << "dates are decimal days with a point";
    EXPECT_TRUE(lines.contains("ExpV=1.25"));
    EXPECT_TRUE(lines.contains("HTTPProxyUser=C:\\\\users\\\\me=you"));
    EXPECT_TRUE(lines.contains("HTTPProxyPassword=" + o.FHTTPProxyPassword.toUtf8())) << "kept enciphered";
    EXPECT_TRUE(lines.contains("TCPPassword=\\\\x41 stays literal\\r\\x09"));
    EXPECT_TRUE(lines.contains("Bmps.Count=2"));
    EXPECT_TRUE(lines.contains("Bmps.0.SplType=4"));
    EXPECT_TRUE(lines.contains("Bmps.0.SplTo=" + o.Bmps[0].FSplTo.toUtf8()));

    QList<QByteArray> bannerFields;
    for (const QByteArray &line : lines)
        if (line.startsWith("Bmps.0."))
            bannerFields << line.mid(7, line.indexOf('=') - 7);
    const QList<QByteArray> declared = {"SplFrom", "SplCRC",  "SplOK", "SplTo",  "SplType", "SplResize", "X",
                                        "Y",       "BanFrom", "BanOK", "BanCRC", "BanTo",   "BanType"};
    EXPECT_EQ(bannerFields, declared);
    EXPECT_TRUE(lines[lines.size() - 2].startsWith("CRC32=")) << "the checksum is the last line";
    EXPECT_TRUE(lines.last().isEmpty());
}

TEST(DataFileContentTest, MissingNamesKeepDefaultsAndUnknownOnesAreSkipped)
{
    const QByteArray body = "QuillonOptions/1\n"
                            "NewestVersion=3.0\n"
                            "SomethingNewer=42\n"
                            "WantAds=maybe\n"
                            "LastSpl=seven\n"
                            "Bmps.Count=1\n"
                            "Bmps.0.BanType=9\n"
                            "Bmps.0.BanFrom=b\n"
                            "Bmps.5.BanFrom=out of range\n";
    TOptions read;
    read.LastBmp = 99;
    ASSERT_TRUE(DataFileStore::deserialize(withChecksum(body), read));
    EXPECT_EQ(read.NewestVersion, QStringLiteral("3.0"));
    EXPECT_EQ(read.LastBmp, 0) << "a missing name takes the default, not the value held before";
    EXPECT_TRUE(read.WantAds) << "an unknown word keeps the default";
    EXPECT_EQ(read.LastSpl, 0);
    ASSERT_EQ(read.Bmps.size(), 1);
    EXPECT_EQ(read.Bmps[0].BanType, ftPng) << "an ordinal out of range keeps the default";
    EXPECT_EQ(read.Bmps[0].BanFrom, QStringLiteral("b"));
}

TEST(DataFileContentTest, DamageIsDetected)
{
    const QByteArray good = DataFileStore::serialize(sampleOptions());
    QByteArray flipped = good;
    flipped[40] = char(flipped[40] ^ 0x01);
    struct Case {
        const char *name;
        QByteArray content;
    } cases[] = {
        {"empty", QByteArray()},
        {"truncated", good.left(good.size() / 2)},
        {"without its last line end", good.chopped(1)},
        {"one bit flipped", flipped},
        {"wrong header", "QuillonOptions/2\n" + good.mid(17)},
    };
    for (const Case &c : cases) {
        TOptions read;
        read.NewestVersion = QStringLiteral("untouched");
        EXPECT_FALSE(DataFileStore::deserialize(c.content, read)) << c.name;
        EXPECT_EQ(read.NewestVersion, QStringLiteral("untouched")) << c.name;
    }
}

TEST(DataFileContentTest, FileIsAsLongAsItsContent)
{
    const TOptions o = sampleOptions();
    const QByteArray file = DataFileStore::encode(o);
    EXPECT_EQ(file.size(), DataFileStore::serialize(o).size());
    EXPECT_FALSE(file.contains("QuillonOptions")) << "the file is enciphered";
    TOptions read;
    ASSERT_TRUE(DataFileStore::decode(file, read));
    EXPECT_TRUE(read == o);
}

class DataFileStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    test::ScriptedPrompter prompter;
    DataFileStore store{&prompter};
    QString file() const { return dir.filePath(QStringLiteral("quillon.ini")); }
    QString backup() const { return dir.filePath(QStringLiteral("quillon.bak")); }
    static TOptions withVersion(const char *version)
    {
        TOptions o;
        o.NewestVersion = QString::fromLatin1(version);
        return o;
    }
    QString versionIn(const QString &path) const
    {
        TOptions read;
        return DataFileStore::decode(readAll(path), read) ? read.NewestVersion
                                                          : QStringLiteral("<unreadable>");
    }
};

TEST_F(DataFileStoreTest, BackupPathSharesTheName)
{
    EXPECT_EQ(DataFileStore::backupPath(QStringLiteral("/a/b.c/quillon.ini")),
              QStringLiteral("/a/b.c/quillon.bak"));
}

TEST_F(DataFileStoreTest, SaveRotatesTheFormerFileIntoTheBackup)
{
    ASSERT_TRUE(store.save(withVersion("1"), file()));
    EXPECT_FALSE(QFileInfo::exists(backup())) << "nothing to back up on the first save";
    const QByteArray first = readAll(file());
    ASSERT_TRUE(store.save(withVersion("2"), file()));
    EXPECT_EQ(readAll(backup()), first) << "the former content is the backup";
    ASSERT_TRUE(store.save(withVersion("3"), file()));
    EXPECT_EQ(versionIn(backup()), QStringLiteral("2")) << "an older backup is replaced";
    EXPECT_EQ(versionIn(file()), QStringLiteral("3"));
    EXPECT_FALSE(QFileInfo::exists(file() + QStringLiteral(".new")));
    EXPECT_TRUE(prompter.requests().isEmpty());
}

TEST_F(DataFileStoreTest, DamagedFileFallsBackToTheBackup)
{
    ASSERT_TRUE(store.save(withVersion("good"), file()));
    ASSERT_TRUE(store.save(withVersion("newest"), file()));
    const QByteArray newest = readAll(file());
    QByteArray flipped = newest;
    flipped[20] = char(flipped[20] ^ 0x10);
    struct Case {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"truncated", newest.left(newest.size() - 5)}, {"bit-flipped", flipped}, {"empty", QByteArray()}};
    for (const Case &c : cases) {
        ASSERT_TRUE(writeAll(file(), c.bytes));
        TOptions read;
        EXPECT_EQ(store.load(read, file()), DataFileStore::Source::Backup) << c.name;
        EXPECT_EQ(read.NewestVersion, QStringLiteral("good")) << c.name;
    }
}

TEST_F(DataFileStoreTest, NothingReadableLeavesTheDefaults)
{
    ASSERT_TRUE(writeAll(file(), "garbage"));
    ASSERT_TRUE(writeAll(backup(), "more garbage"));
    TOptions read = withVersion("held before");
    EXPECT_EQ(store.load(read, file()), DataFileStore::Source::Defaults);
    EXPECT_TRUE(read == TOptions());
    QFile::remove(file());
    EXPECT_EQ(store.load(read, backup()), DataFileStore::Source::Defaults);
}

TEST_F(DataFileStoreTest, MissingFileReadsTheBackup)
{
    ASSERT_TRUE(store.save(withVersion("1"), file()));
    ASSERT_TRUE(store.save(withVersion("2"), file()));
    QFile::remove(file());
    TOptions read;
    EXPECT_EQ(store.load(read, file()), DataFileStore::Source::Backup);
    EXPECT_EQ(read.NewestVersion, QStringLiteral("1"));
    EXPECT_EQ(store.load(read, backup()), DataFileStore::Source::File);
}

TEST_F(DataFileStoreTest, UnwritableFolderIsReported)
{
    // A regular file where the folder should be: writing fails even for root.
    const QString blocker = dir.filePath(QStringLiteral("data"));
    ASSERT_TRUE(writeAll(blocker, "a file"));
    const QString path = blocker + QStringLiteral("/quillon.ini");
    EXPECT_FALSE(store.save(withVersion("1"), path));
    ASSERT_EQ(prompter.requests().size(), 1);
    const PromptRequest &shown = prompter.requests().first();
    EXPECT_EQ(shown.text, QStringLiteral("I can't write to file ") + QDir::toNativeSeparators(blocker) +
                              QDir::separator() + QStringLiteral("quillon.ini"));
    EXPECT_EQ(shown.caption, QStringLiteral("Error"));
    EXPECT_EQ(shown.icon, PromptIcon::Error);
}

TEST_F(DataFileStoreTest, FailedWriteKeepsTheFileAndItsBackup)
{
    ASSERT_TRUE(store.save(withVersion("1"), file()));
    ASSERT_TRUE(store.save(withVersion("2"), file()));
    const QByteArray file2 = readAll(file());
    const QByteArray backup1 = readAll(backup());
    // A folder in the temporary file's place makes the write fail before anything moves.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("quillon.ini.new")));
    EXPECT_FALSE(store.save(withVersion("3"), file()));
    EXPECT_EQ(readAll(file()), file2);
    EXPECT_EQ(readAll(backup()), backup1);
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_TRUE(prompter.requests().first().text.startsWith(QStringLiteral("I can't write to file ")));
}

TEST_F(DataFileStoreTest, FailedRotationKeepsTheFile)
{
    ASSERT_TRUE(store.save(withVersion("1"), file()));
    const QByteArray file1 = readAll(file());
    // A backup that cannot be removed: the current file stays the good copy.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("quillon.bak/inside")));
    EXPECT_FALSE(store.save(withVersion("2"), file()));
    EXPECT_EQ(readAll(file()), file1);
    EXPECT_FALSE(QFileInfo::exists(file() + QStringLiteral(".new")));
    EXPECT_EQ(prompter.requests().size(), 1);
}

TEST(UpdateDueTest, WholeDaysFromTheLastCheck)
{
    const QDate today(2026, 12, 11);
    const double todayDays = double(QDate(1899, 12, 30).daysTo(today));
    struct Case {
        const char *name;
        double lastU;
        bool due;
    } cases[] = {
        {"7 days before", todayDays - 7 + 0.9, true},
        {"6 days before", todayDays - 6 + 0.1, false},
        {"today", todayDays + 0.5, false},
        {"one day in the future", todayDays + 1, true},
        {"never checked", 0, true},
    };
    for (const Case &c : cases) {
        TOptions o;
        o.LastU = c.lastU;
        EXPECT_EQ(UpdateDue(o, today), c.due) << c.name;
    }
}

} // namespace
