#include "engine/CommandLine.h"

#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace quillon::test {
namespace {

using D = CommandLine::Dialect;

// Names that would run a command, split a word or end a command if the shell read them.
const QStringList hostileNames = {
    "$(touch canary)", "`touch canary`", "say \"hi\"", "it's", "back\\slash\\", "a;b", "a|b", "a&b",
    "two\nlines", "tab\there", "*?[x]", "~user", "#hash", "", " leading blank", "100%", "{a,b}", "a>b<c",
};

TEST(CommandLineTest, EveryArgumentRoundTripsThroughTheParser)
{
    for (D dialect : {D::Posix, D::Windows}) {
        for (const QString &name : hostileNames) {
            if (dialect == D::Windows && (name.contains('"') || name.endsWith('\\')))
                continue; // not a legal Windows name
            const ToolCommand command{"mkisofs", "-V", name, "-o", name};
            const QString text = CommandLine::render(command, dialect);
            const CommandLine::Parsed back = CommandLine::parse(text, dialect);
            ASSERT_TRUE(back.ok()) << "text " << text.toStdString() << ": " << back.error.toStdString();
            ASSERT_EQ(back.commands.size(), 1) << text.toStdString();
            EXPECT_EQ(back.commands.first(), command) << "rendered as " << text.toStdString();
        }
    }
}

TEST(CommandLineTest, RenderedTextMeansTheSameToARealPosixShell)
{
    ToolCommand command{"printf", "[%s]\\n"};
    command << hostileNames;
    QProcess sh;
    sh.setWorkingDirectory(QDir::tempPath());
    sh.start("/bin/sh", {"-c", CommandLine::render(command, D::Posix)});
    ASSERT_TRUE(sh.waitForFinished(5000));
    QString expected;
    for (const QString &n : hostileNames)
        expected += "[" + n + "]\n";
    EXPECT_EQ(QString::fromUtf8(sh.readAllStandardOutput()), expected);
    EXPECT_FALSE(QFile::exists(QDir::tempPath() + "/canary"));
}

TEST(CommandLineTest, FileNamesStandInDoubleQuotesAndPlainWordsStayBare)
{
    EXPECT_EQ(CommandLine::quoteFileName("/home/u/a.iso", D::Posix), "\"/home/u/a.iso\"");
    EXPECT_EQ(CommandLine::quoteFileName("C:\\My CD\\a.iso", D::Windows), "\"C:\\My CD\\a.iso\"");
    EXPECT_EQ(CommandLine::quoteFileName("$HOME\\x", D::Posix), "\"\\$HOME\\\\x\"");
    EXPECT_EQ(CommandLine::render({"cdrecord", "-v", "dev=1,0,0", "speed=8", "-"}, D::Posix),
              "cdrecord -v dev=1,0,0 speed=8 -");
    EXPECT_EQ(CommandLine::render({"mkisofs", "-V", "My Disc"}, D::Posix), "mkisofs -V \"My Disc\"");
}

TEST(CommandLineTest, OnlyAnUnquotedPipeSignSplitsTheCommand)
{
    struct Case {
        const char *name;
        QString text;
        QList<ToolCommand> commands;
    };
    const Case cases[] = {
        {"one command", "readcd dev=0,1,0 f=\"/tmp/a b.iso\"", {{"readcd", "dev=0,1,0", "f=/tmp/a b.iso"}}},
        {"a pipe", "mkisofs -R \"/d\" | cdrecord -", {{"mkisofs", "-R", "/d"}, {"cdrecord", "-"}}},
        {"a pipe without blanks", "a|b", {{"a"}, {"b"}}},
        {"a pipe sign in double quotes", "mkisofs -V \"x | y\"", {{"mkisofs", "-V", "x | y"}}},
        {"a pipe sign in single quotes", "mkisofs -V 'x|y'", {{"mkisofs", "-V", "x|y"}}},
        {"an escaped pipe sign", "mkisofs -V x\\|y", {{"mkisofs", "-V", "x|y"}}},
        {"quotes joined to a word", "f=\"a b\"'c'd", {{"f=a bcd"}}},
        {"an empty quoted argument", "tool \"\" x", {{"tool", "", "x"}}},
    };
    for (const Case &c : cases) {
        const CommandLine::Parsed p = CommandLine::parse(c.text, D::Posix);
        EXPECT_TRUE(p.ok()) << c.name << ": " << p.error.toStdString();
        EXPECT_EQ(p.commands, c.commands) << c.name;
    }
}

TEST(CommandLineTest, UnreadableTextIsRefusedWithAReason)
{
    const char *bad[] = {"mkisofs -V \"open", "mkisofs -V 'open", "| cdrecord", "mkisofs |", "a | b | c", "   "};
    for (const char *text : bad)
        EXPECT_FALSE(CommandLine::parse(text, D::Posix).ok()) << "accepted: " << text;
}

TEST(CommandLineTest, WindowsTextKeepsBackslashesAndEscapesOnlyQuotes)
{
    const CommandLine::Parsed p =
        CommandLine::parse("mkisofs -o \"C:\\Images\\a b.iso\" C:\\dir\\ -V \"say \\\"x\\\"\"", D::Windows);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.commands.first(), (ToolCommand{"mkisofs", "-o", "C:\\Images\\a b.iso", "C:\\dir\\", "-V", "say \"x\""}));
}

TEST(CommandLineTest, AdditionalOptionsSplitByTheSameRules)
{
    EXPECT_EQ(CommandLine::splitArguments("-J  -joliet-long -A \"My App\" -p 'a|b'", D::Posix),
              (QStringList{"-J", "-joliet-long", "-A", "My App", "-p", "a|b"}));
    EXPECT_EQ(CommandLine::splitArguments("", D::Posix), QStringList{});
}

TEST(CommandLineTest, BareProgramNamesGoIntoTheToolFolder)
{
    EXPECT_EQ(CommandLine::programPath("/opt/q/CdrTools/", "cdrecord"),
              "/opt/q/CdrTools/cdrecord" + AppPaths::executableSuffix());
    EXPECT_EQ(CommandLine::programPath("/opt/q/CdrTools", "/usr/bin/lame"), "/usr/bin/lame");
}

TEST(CommandLineTest, ShellQuoteLeavesNothingLive)
{
    EXPECT_EQ(CommandLine::shellQuote("it's $(x)"), "'it'\\''s $(x)'");
}

} // namespace
} // namespace quillon::test
