// The speed field: ladder steps, the question above the recorder's maximum, typed values.
#include "engine/SpeedSteps.h"
#include "support/ScriptedPrompter.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace quillon::test {
namespace {

TEST(SpeedStepsTest, ArrowStepsFollowTheLadder)
{
    struct Case {
        const char *name;
        int from;
        int requested; // from + 1 for up, from - 1 for down
        int expected;
    };
    const QList<Case> cases{
        {"8 up", 8, 9, 10},
        {"24 up", 24, 25, 32},
        {"48 up", 48, 49, 52},
        {"52 up stays", 52, 53, 52},
        {"8 down", 8, 7, 4},
        {"10 down", 10, 9, 8},
        {"0 down stays at 0", 0, -1, 0},
        {"1 down", 1, 0, 0},
        {"typed 9 up", 9, 10, 10},
        {"typed 9 down", 9, 8, 8},
        {"typed 50 up", 50, 51, 52},
        {"typed 50 down", 50, 49, 48},
    };
    for (const Case &c : cases) {
        ScriptedPrompter prompter;
        SpeedSnapper s(prompter, 52, 'D');
        s.typed(c.from);
        EXPECT_EQ(s.stepped(c.requested), c.expected) << c.name;
        EXPECT_EQ(s.FPrevSpeed(), c.expected) << c.name;
        EXPECT_TRUE(prompter.requests().isEmpty()) << c.name << ": nothing above the maximum";
    }
}

TEST(SpeedStepsTest, AboveTheMaximumTheUserIsAsked)
{
    struct Case {
        const char *name;
        PromptButton answer;
        int expected;
    };
    for (const Case &c : QList<Case>{
             {"Yes keeps 10", pbYes, 10}, {"No restores 8", pbNo, 8}, {"Cancel restores 8", pbCancel, 8}}) {
        ScriptedPrompter prompter;
        SpeedSnapper s(prompter, 8, 'E');
        EXPECT_EQ(s.stepped(8), 8) << "the first value is taken as it is";
        prompter.answer({c.answer});
        EXPECT_EQ(s.stepped(9), c.expected) << c.name;
        ASSERT_EQ(prompter.requests().size(), 1) << c.name;
        const PromptRequest &r = prompter.requests().first();
        EXPECT_EQ(r.text, QString("Are you sure that drive E: supports writing at speed 10"));
        EXPECT_EQ(r.caption, QString("Detected max speed = 8"));
        EXPECT_EQ(r.icon, PromptIcon::Warning);
        EXPECT_EQ(r.buttons, pbYes | pbNo | pbCancel);
        EXPECT_EQ(r.defaultButton, pbCancel);
    }
}

TEST(SpeedStepsTest, TypedValuesAreTakenAsTyped)
{
    ScriptedPrompter prompter;
    SpeedSnapper s(prompter, 32, 'D');
    EXPECT_EQ(s.typed(8), 8);
    EXPECT_EQ(s.typed(9), 9) << "no snapping";
    EXPECT_EQ(s.typed(-3), 0) << "the range starts at 0";
    EXPECT_TRUE(prompter.requests().isEmpty());
    prompter.answer({pbNo});
    EXPECT_EQ(s.typed(40), 0) << "No keeps the last accepted speed";
    prompter.answer({pbYes});
    EXPECT_EQ(s.typed(99), 52) << "the range ends at 52; Yes takes it";
    EXPECT_EQ(prompter.requests().size(), 2);
    EXPECT_EQ(prompter.requests().last().text,
              QString("Are you sure that drive D: supports writing at speed 52"));
}

TEST(SpeedStepsTest, TheSpinBoxSnapsArrowsOnly)
{
    ScriptedPrompter prompter;
    SpeedSnapper snapper(prompter, 52, 'D');
    SpeedSpinBox box;
    box.setSnapper(&snapper);
    EXPECT_EQ(box.value(), 8) << "default speed";
    box.stepBy(1);
    EXPECT_EQ(box.value(), 10);
    box.stepBy(-2);
    EXPECT_EQ(box.value(), 4) << "two steps down from 10";
    box.selectAll();
    QTest::keyClicks(&box, "9");
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.value(), 9) << "a typed value stays";
    EXPECT_EQ(snapper.FPrevSpeed(), 9);
    box.stepBy(1);
    EXPECT_EQ(box.value(), 10);
}

} // namespace
} // namespace quillon::test
