// The disc's name rules: the checks' messages and the automatic shortening and numbering.
#include "project/NameRules.h"
#include "ProjectFixture.h"

namespace quillon::test {
namespace {

TEST(NameRulesTest, CheckNameCharsReportsTheFirstRuleBroken)
{
    struct Case {
        const char *what;
        QString name;
        QString text;
        QString caption;
    };
    const QString chars =
        QStringLiteral("Name cannot contain any of these characters:\r\n? * | \" < > / \\ :");
    const QList<Case> cases = {
        {"a plain name", QStringLiteral("Readme.txt"), {}, {}},
        {"64 characters", QString(64, QLatin1Char('a')), {}, {}},
        {"a colon", QStringLiteral("a:b"), chars, QStringLiteral("Invalid characters")},
        {"a backslash", QStringLiteral("a\\b"), chars, QStringLiteral("Invalid characters")},
        {"a question mark, even when too long", QString(70, QLatin1Char('?')), chars,
         QStringLiteral("Invalid characters")},
        {"empty", QString(), QStringLiteral("Please specify a name!"), QStringLiteral("A name required")},
        {"65 characters", QString(65, QLatin1Char('a')), QStringLiteral("Please shorten this name!"),
         QStringLiteral("Name too long")},
    };
    for (const Case &c : cases) {
        ScriptedPrompter prompter;
        const bool ok = CheckNameChars(c.name, prompter);
        EXPECT_EQ(ok, c.text.isEmpty()) << c.what;
        if (c.text.isEmpty()) {
            EXPECT_TRUE(prompter.requests().isEmpty()) << c.what;
            continue;
        }
        ASSERT_EQ(prompter.requests().size(), 1) << c.what;
        EXPECT_EQ(prompter.requests()[0].text, c.text) << c.what;
        EXPECT_EQ(prompter.requests()[0].caption, c.caption) << c.what;
        EXPECT_EQ(prompter.requests()[0].icon, PromptIcon::Warning) << c.what;
    }
}

TEST(NameRulesTest, CheckDiscNameCutsToSixteen)
{
    ScriptedPrompter prompter;
    QString name = QStringLiteral("SIXTEEN_CHARS_OK");
    EXPECT_TRUE(CheckDiscName(name, prompter));
    name = QStringLiteral("SEVENTEEN_CHARS_X");
    EXPECT_FALSE(CheckDiscName(name, prompter));
    EXPECT_EQ(name, "SEVENTEEN_CHARS_");
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text, "Disc name can contain max 16 characters!");
    EXPECT_EQ(prompter.requests()[0].caption, "Name too long");
    EXPECT_EQ(prompter.requests()[0].icon, PromptIcon::Error);
}

TEST(NameRulesTest, ShorteningAndNumberingKeepTheExtensionOnceWithinSixtyFour)
{
    const QString seventy = QString(66, QLatin1Char('n')) + QStringLiteral(".txt");
    EXPECT_EQ(NameRules::shortenedName(seventy), QString(60, QLatin1Char('n')) + ".txt");
    // An extension longer than the rest keeps the rest and as much extension as fits.
    EXPECT_EQ(NameRules::shortenedName(QStringLiteral("a.") + QString(70, QLatin1Char('x'))),
              QStringLiteral("a.") + QString(62, QLatin1Char('x')));

    struct Case {
        const char *what;
        QString name;
        int n;
        QString expected;
    };
    const QString long64 = QString(60, QLatin1Char('b')) + QStringLiteral(".txt");
    const QList<Case> cases = {
        {"with an extension", QStringLiteral("abc.txt"), 2, QStringLiteral("abc (2).txt")},
        {"without an extension", QStringLiteral("abc"), 2, QStringLiteral("abc (2)")},
        {"two dots", QStringLiteral("a.tar.gz"), 3, QStringLiteral("a.tar (3).gz")},
        {"64 characters, n = 2", long64, 2, QString(56, QLatin1Char('b')) + " (2).txt"},
        {"64 characters, n = 10", long64, 10, QString(55, QLatin1Char('b')) + " (10).txt"},
    };
    for (const Case &c : cases) {
        const QString got = NameRules::numberedName(c.name, c.n);
        EXPECT_EQ(got, c.expected) << c.what;
        EXPECT_LE(got.size(), 64) << c.what;
    }
}

} // namespace
} // namespace quillon::test
