// The rename dialog of adding: what it shows and when OK may close it.
#include "ProjectFixture.h"
#include "project/DlgRenameU.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace quillon::test {
namespace {

TEST(DlgRenameTest, OkNeedsAValidNameThatDiffersUnlessTheBoxIsTicked)
{
    const QString chars =
        QStringLiteral("Name cannot contain any of these characters:\r\n? * | \" < > / \\ :");
    struct Case {
        const char *what;
        QString text;
        bool ticked;
        QString message; // empty: accepted
    };
    const QString long70 = QString(70, QLatin1Char('a'));
    const QList<Case> cases = {
        {"a new name", "fresh.txt", false, {}},
        {"the same name in other letters", " OLD.TXT ", false, "Please rename this File!"},
        {"a colon", "a:b", false, chars},
        {"too long", long70, false, "Please shorten this name!"},
        {"ticked with the name unchanged", "old.txt", true, {}},
        {"ticked and too long (shortened later)", long70, true, {}},
        {"ticked but empty", "  ", true, "Please specify a name!"},
        {"ticked with a forbidden character", "a*b", true, chars},
    };
    for (const Case &c : cases) {
        ScriptedPrompter prompter;
        EXPECT_EQ(RenameAcceptable(c.text, "old.txt", c.ticked, "&File", prompter), c.message.isEmpty())
            << c.what;
        if (!c.message.isEmpty()) {
            ASSERT_EQ(prompter.requests().size(), 1) << c.what;
            EXPECT_EQ(prompter.requests()[0].text, c.message) << c.what;
        }
    }
}

TEST(DlgRenameTest, ShowsTheRequestAndStaysOpenOnARefusedName)
{
    ScriptedPrompter prompter;
    TDlgRename dialog(prompter);
    dialog.setRequest(
        {"Duplicate name", "Folder", "Docs", "Docs", "already exists in this folder. Please rename it."});
    EXPECT_EQ(dialog.windowTitle(), "Duplicate name");
    EXPECT_EQ(dialog.LblChars->text(), "Characters: 4");
    EXPECT_EQ(dialog.LblHint->text(), "Max 64 chars");
    EXPECT_EQ(dialog.ChkAuto->text(), "&Automatically rename files and folders");
    EXPECT_FALSE(dialog.ChkAuto->isChecked());
    dialog.EditNew->setText(" Docs2 ");
    EXPECT_EQ(dialog.LblChars->text(), "Characters: 5");

    QTimer::singleShot(0, &dialog, [&] {
        dialog.EditNew->setText("docs");
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible()) << "an identical name keeps the dialog open";
        dialog.EditNew->setText(" Papers ");
        dialog.accept();
    });
    dialog.exec();
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text, "Please rename this Folder!");
    EXPECT_EQ(prompter.requests()[0].caption, "Identical name exists");
    const RenameAnswer a = dialog.answer();
    EXPECT_TRUE(a.accepted);
    EXPECT_EQ(a.newName, "Papers");
}

} // namespace
} // namespace quillon::test
