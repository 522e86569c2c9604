#include "settings/IniRegistry.h"
#include "settings/SystemRegistry.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

using quillon::IniRegistry;

// Failing assertions show the texts, not their bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kFirstStart = QStringLiteral("\\Software\\Quillon");
const QString kParameters = QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Aspi32\\Parameters");

class IniRegistryTest : public testing::Test {
protected:
    QString file() const { return m_dir.filePath(QStringLiteral("config/registry.ini")); }
    QTemporaryDir m_dir;
};

TEST_F(IniRegistryTest, FirstStartMarkerIsCreatedOnceAndSurvivesARestart)
{
    {
        IniRegistry registry(file());
        EXPECT_FALSE(registry.keyExists(kFirstStart)) << "a missing file is an empty registry";
        ASSERT_TRUE(registry.createKey(kFirstStart));
    }
    IniRegistry restarted(file());
    EXPECT_TRUE(restarted.keyExists(kFirstStart));
    EXPECT_TRUE(restarted.keyExists(QStringLiteral("software\\QUILLON\\"))) << "any spelling of the path";
    EXPECT_EQ(restarted.subKeys(QStringLiteral("\\Software")), QStringList({"Quillon"}));

    QFile saved(file());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("[\\Software\\Quillon]\r\n"));
}

TEST_F(IniRegistryTest, ParentsExistThroughTheirDescendants)
{
    IniRegistry registry(file());
    ASSERT_TRUE(registry.createKey(kParameters));
    const QStringList present = {QStringLiteral("\\"), QStringLiteral("\\SYSTEM"),
                                 QStringLiteral("\\system\\currentcontrolset\\services\\aspi32"),
                                 kParameters};
    for (const QString &key : present)
        EXPECT_TRUE(registry.keyExists(key)) << key.toStdString();
    EXPECT_FALSE(registry.keyExists(QStringLiteral("\\SYS"))) << "a part of a name is not a parent";
    EXPECT_FALSE(registry.keyExists(QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Cdrom")));

    registry.createKey(QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\cdrom"));
    registry.createKey(QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Atapi\\Enum"));
    EXPECT_EQ(registry.subKeys(QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services")),
              QStringList({"Aspi32", "Atapi", "cdrom"}))
        << "direct children only, each once, sorted without regard to case";
    EXPECT_EQ(registry.subKeys(QStringLiteral("\\")), QStringList({"SYSTEM"}));
    EXPECT_TRUE(registry.subKeys(QStringLiteral("\\Software")).isEmpty());
}

TEST_F(IniRegistryTest, TypedValuesSurviveARestart)
{
    const QString aspi = QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Aspi32");
    const QByteArray notification("\x01\x00\x00\x00", 4);
    {
        IniRegistry registry(file());
        ASSERT_TRUE(registry.createKey(kParameters));
        EXPECT_TRUE(registry.writeString(kParameters, QStringLiteral("ExcludeMiniports"), QString()));
        EXPECT_TRUE(
            registry.writeString(kParameters, QStringLiteral("Note"), QStringLiteral(" \"C:\\My music\" ")));
        EXPECT_TRUE(registry.writeInteger(aspi, QStringLiteral("ErrorControl"), 1));
        EXPECT_TRUE(registry.writeInteger(aspi, QStringLiteral("Start"), -5000000000LL));
        EXPECT_TRUE(registry.writeBinary(aspi, QStringLiteral("AutoInsertNotification"), notification));
        EXPECT_TRUE(registry.writeInteger(aspi, QStringLiteral("errorcontrol"), 3))
            << "rewrites the same value";
    }
    IniRegistry registry(file());
    EXPECT_EQ(registry.readString(kParameters, QStringLiteral("ExcludeMiniports")), QString());
    EXPECT_EQ(registry.readString(kParameters, QStringLiteral("note")), QStringLiteral(" \"C:\\My music\" "));
    EXPECT_EQ(registry.readInteger(aspi, QStringLiteral("ErrorControl")), 3);
    EXPECT_EQ(registry.readInteger(aspi, QStringLiteral("Start")), -5000000000LL);
    EXPECT_EQ(registry.readBinary(aspi, QStringLiteral("AutoInsertNotification")), notification);

    // Read as another type, a value is not there, as in the registry.
    EXPECT_FALSE(registry.readInteger(kParameters, QStringLiteral("ExcludeMiniports")).has_value());
    EXPECT_FALSE(registry.readString(aspi, QStringLiteral("Start")).has_value());
    EXPECT_FALSE(registry.readBinary(aspi, QStringLiteral("Start")).has_value());
    EXPECT_FALSE(registry.readInteger(aspi, QStringLiteral("AutoInsertNotification")).has_value());
    EXPECT_FALSE(registry.readInteger(aspi, QStringLiteral("Missing")).has_value());
}

TEST_F(IniRegistryTest, ValuesGoOnlyIntoKeysThatExist)
{
    IniRegistry registry(file());
    EXPECT_FALSE(registry.writeInteger(QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Cdrom"),
                                       QStringLiteral("AutoRun"), 0));
    EXPECT_FALSE(QFileInfo::exists(file())) << "nothing was saved";
}

TEST_F(IniRegistryTest, ChangeThatCannotBeSavedIsTakenBack)
{
    QFile blocker(m_dir.filePath(QStringLiteral("config")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)) << "a file where the folder should be";
    blocker.close();
    IniRegistry registry(file());
    EXPECT_FALSE(registry.createKey(kFirstStart));
    EXPECT_FALSE(registry.keyExists(kFirstStart)) << "memory must not run ahead of the file";
}

TEST_F(IniRegistryTest, SystemRegistryHereIsTheRegistryFile)
{
    const quillon::AppPaths paths(
        {m_dir.filePath(QStringLiteral("program")), m_dir.filePath(QStringLiteral("config")),
         m_dir.filePath(QStringLiteral("data")), m_dir.filePath(QStringLiteral("cache"))});
    std::unique_ptr<quillon::Registry> registry = quillon::CreateSystemRegistry(paths);
    ASSERT_TRUE(registry);
    ASSERT_TRUE(registry->createKey(kFirstStart));
    EXPECT_TRUE(IniRegistry(paths.registryFile()).keyExists(kFirstStart))
        << "the marker is in " << paths.registryFile().toStdString();
}

} // namespace
