#include "platform/SystemFixes.h"

#include "support/FakeRegistry.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// Failing assertions show the texts, not their bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace quillon {
inline void PrintTo(FixResult result, std::ostream *os)
{
    static const char *const names[] = {"NotApplicable", "Done", "Declined", "Failed"};
    *os << names[int(result)];
}
} // namespace quillon

namespace {

using namespace quillon;
using quillon::test::FakeRegistry;
using quillon::test::ScriptedPrompter;

const QString kCdrom = QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Cdrom");
const QString kAspi = QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\Aspi32");
const QString kAspiParameters = kAspi + QStringLiteral("\\Parameters");
const QString kScsi = QStringLiteral("\\Enum\\SCSI");

// What the user saw, one "caption | text" per message.
QStringList shown(const ScriptedPrompter &prompter)
{
    QStringList out;
    for (const PromptRequest &r : prompter.requests())
        out << r.caption + QStringLiteral(" | ") + r.text;
    return out;
}

const QString kNtQuestion = QStringLiteral(
    "System change required | To record CDs Autorun feature should be disabled. Do you wish to do it now?");
const QString kNtCannot = QStringLiteral("Error accessing registry | To record CDs Autorun feature should be "
                                         "disabled but I cannot modify registry.");
const QString kNtAlreadyOff =
    QStringLiteral("Autorun disabled | CD autorun feature is disabled - CDs can be recorded safely.");
const QString kRecordSafely = QStringLiteral("Autorun disabled | CDs can be recorded safely. Please reboot.");
const QString k9xQuestion =
    QStringLiteral("System change required | To record CDs \"Auto Insert Notification\" feature should be "
                   "disabled. Do you wish to do it now?");
const QString k9xRestart =
    QStringLiteral("System restart required | This setting will be effect after restart Windows.");
const QString k9xManual = QStringLiteral(
    "Error accessing registry | To record CDs \"Auto Insert Notification\" feature should be disabled but I "
    "cannot modify registry. Please open Control Panel, go to System - Device Manager - CD-ROM, double-click "
    "your recorder and deselect \"Auto Insert Notification\".");
const QString kAspiQuestion =
    QStringLiteral("Drives not detected | ASPI reports no CD/DVD drive. Should I modify registry to fix it?");

const AutorunDrive kRecorder{QStringLiteral("PLEXTOR"), QStringLiteral("CD-R   PX-W4824A")};

// ---- Windows NT family ---------------------------------------------------------------------

struct NtCase {
    const char *name;
    bool cdromKey;
    std::optional<qint64> autoRun; // empty: the value is missing
    bool report;
    std::vector<PromptButton> answers;
    QStringList expected;
    FixResult result;
    std::optional<qint64> autoRunAfter;
    bool writeFails = false;
};

class NtAutorun : public testing::TestWithParam<NtCase> {};

TEST_P(NtAutorun, FollowsTheRules)
{
    const NtCase &c = GetParam();
    FakeRegistry registry;
    ScriptedPrompter prompter;
    if (c.cdromKey)
        registry.addKey(kCdrom);
    if (c.autoRun)
        registry.setValue(kCdrom, QStringLiteral("AutoRun"), *c.autoRun);
    if (c.writeFails)
        registry.failWritesOf(QStringLiteral("AutoRun"));
    for (PromptButton answer : c.answers)
        prompter.answer({answer});

    EXPECT_EQ(DisableCdAutorun(WindowsFamily::NT, registry, prompter, kRecorder, c.report), c.result);
    EXPECT_EQ(shown(prompter), c.expected);
    const auto after = registry.value(kCdrom, QStringLiteral("AutoRun"));
    EXPECT_EQ(after ? std::optional<qint64>(std::get<qint64>(*after)) : std::nullopt, c.autoRunAfter);
    EXPECT_EQ(registry.hasKey(kCdrom), c.cdromKey) << "the Cdrom key is never created";
}

INSTANTIATE_TEST_SUITE_P(
    SystemFixes, NtAutorun,
    testing::Values(
        NtCase{"missing_cdrom_key_is_an_error",
               false,
               std::nullopt,
               true,
               {},
               {kNtCannot},
               FixResult::Failed,
               std::nullopt},
        NtCase{"report_with_autorun_off_says_so",
               true,
               0,
               true,
               {},
               {kNtAlreadyOff},
               FixResult::NotApplicable,
               0},
        NtCase{"missing_value_reads_as_off",
               true,
               std::nullopt,
               true,
               {},
               {kNtAlreadyOff},
               FixResult::NotApplicable,
               std::nullopt},
        NtCase{"report_with_autorun_on_asks_and_yes_writes_zero",
               true,
               149,
               true,
               {pbYes},
               {kNtQuestion, kRecordSafely},
               FixResult::Done,
               0},
        NtCase{"without_report_the_question_comes_even_when_off",
               true,
               0,
               false,
               {pbNo},
               {kNtQuestion},
               FixResult::Declined,
               0},
        NtCase{"without_report_yes_writes_zero_and_reports",
               true,
               1,
               false,
               {pbYes},
               {kNtQuestion, kRecordSafely},
               FixResult::Done,
               0},
        NtCase{"cancel_changes_nothing", true, 1, true, {pbCancel}, {kNtQuestion}, FixResult::Declined, 1},
        NtCase{"refused_write_is_reported",
               true,
               1,
               true,
               {pbYes},
               {kNtQuestion, kNtCannot},
               FixResult::Failed,
               1,
               true}),
    [](const testing::TestParamInfo<NtCase> &info) { return std::string(info.param.name); });

TEST(SystemFixes, QuestionsOfferYesNoCancelAndReportsCarryTheirIcons)
{
    FakeRegistry registry;
    ScriptedPrompter prompter;
    registry.setValue(kCdrom, QStringLiteral("AutoRun"), qint64(1));
    prompter.answer({pbYes});
    DisableCdAutorun(WindowsFamily::NT, registry, prompter, kRecorder, true);
    ASSERT_EQ(prompter.requests().size(), 2);
    const PromptRequest &question = prompter.requests()[0];
    EXPECT_EQ(question.icon, PromptIcon::Question);
    EXPECT_EQ(question.buttons, pbYes | pbNo | pbCancel);
    EXPECT_EQ(question.defaultButton, pbCancel);
    EXPECT_EQ(prompter.requests()[1].icon, PromptIcon::Information);

    FakeRegistry empty;
    prompter.clear();
    DisableCdAutorun(WindowsFamily::NT, empty, prompter, kRecorder, true);
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].icon, PromptIcon::Error);
}

// ---- Windows 95/98/ME ----------------------------------------------------------------------

const QString kOtherDevice = kScsi + QStringLiteral("\\HP______CD-WRITER+_9100__1.0C");
const QString kRecorderDevice = kScsi + QStringLiteral("\\PLEXTOR_CD-R___PX-W4824A1.07");
const QString kNotification = QStringLiteral("AutoInsertNotification");
const QByteArray kOn("\x01\x00\x00\x00", 4);
const QByteArray kOff("\x00\x00\x00\x00", 4);
const QByteArray kWrittenOff(1, '\0');

class Win9xAutorun : public testing::Test {
protected:
    FixResult run(bool report)
    {
        return DisableCdAutorun(WindowsFamily::Win9x, registry, prompter, kRecorder, report);
    }
    QByteArray notification(const QString &key) const
    {
        const auto value = registry.value(key, kNotification);
        return value ? std::get<QByteArray>(*value) : QByteArray("<missing>");
    }

    FakeRegistry registry;
    ScriptedPrompter prompter;
};

TEST_F(Win9xAutorun, WithoutTheScsiKeyGivesTheManualInstruction)
{
    EXPECT_EQ(run(true), FixResult::Failed);
    EXPECT_EQ(shown(prompter), QStringList({k9xManual}));
}

TEST_F(Win9xAutorun, WithoutTheRecordersDeviceKeyGivesTheManualInstruction)
{
    registry.setValue(kOtherDevice + QStringLiteral("\\0000"), kNotification, kOn);
    EXPECT_EQ(run(true), FixResult::Failed);
    EXPECT_EQ(shown(prompter), QStringList({k9xManual}));
    EXPECT_EQ(notification(kOtherDevice + QStringLiteral("\\0000")), kOn) << "another device is left alone";
}

TEST_F(Win9xAutorun, AsksOnceWritesOneZeroByteAndTellsAboutTheRestartOnce)
{
    registry.setValue(kOtherDevice + QStringLiteral("\\0000"), kNotification, kOn);
    registry.setValue(kRecorderDevice + QStringLiteral("\\0000"), kNotification, kOn);
    registry.setValue(kRecorderDevice + QStringLiteral("\\0001"), kNotification, kOff);
    registry.setValue(kRecorderDevice + QStringLiteral("\\0002"), kNotification, kOn);
    prompter.answer({pbYes});

    EXPECT_EQ(run(true), FixResult::Done);
    EXPECT_EQ(shown(prompter), QStringList({k9xQuestion, k9xRestart, kRecordSafely}));
    EXPECT_EQ(notification(kRecorderDevice + QStringLiteral("\\0000")), kWrittenOff);
    EXPECT_EQ(notification(kRecorderDevice + QStringLiteral("\\0001")), kOff)
        << "an instance already off stays";
    EXPECT_EQ(notification(kRecorderDevice + QStringLiteral("\\0002")), kWrittenOff);
    EXPECT_EQ(notification(kOtherDevice + QStringLiteral("\\0000")), kOn);
}

TEST_F(Win9xAutorun, WithoutTheReportFlagNoFinalMessage)
{
    registry.setValue(kRecorderDevice + QStringLiteral("\\0000"), kNotification, kOn);
    prompter.answer({pbYes});
    EXPECT_EQ(run(false), FixResult::Done);
    EXPECT_EQ(shown(prompter), QStringList({k9xQuestion, k9xRestart}));
}

TEST_F(Win9xAutorun, AlreadyOffAsksNothingAndReportsOnlyWithTheFlag)
{
    registry.setValue(kRecorderDevice + QStringLiteral("\\0000"), kNotification, kOff);
    EXPECT_EQ(run(true), FixResult::NotApplicable);
    EXPECT_EQ(shown(prompter), QStringList({kRecordSafely}));
    prompter.clear();
    EXPECT_EQ(run(false), FixResult::NotApplicable);
    EXPECT_EQ(shown(prompter), QStringList());
}

TEST_F(Win9xAutorun, AnyAnswerButYesEndsTheOperation)
{
    registry.setValue(kRecorderDevice + QStringLiteral("\\0000"), kNotification, kOn);
    registry.setValue(kRecorderDevice + QStringLiteral("\\0001"), kNotification, kOn);
    prompter.answer({pbNo});
    EXPECT_EQ(run(true), FixResult::Declined);
    EXPECT_EQ(shown(prompter), QStringList({k9xQuestion})) << "asked once, nothing reported after";
    EXPECT_TRUE(registry.changes().isEmpty()) << registry.changes().join(QStringLiteral(", ")).toStdString();
}

TEST_F(Win9xAutorun, DeviceKeyThatCannotBeOpenedGivesWayToTheNextMatch)
{
    const QString second = kScsi + QStringLiteral("\\PLEXTOR_CD-R___PX-W4824A1.08");
    registry.setValue(kRecorderDevice + QStringLiteral("\\0000"), kNotification, kOn);
    registry.setUnopenable(kRecorderDevice);
    registry.setValue(second + QStringLiteral("\\0000"), kNotification, kOn);
    prompter.answer({pbYes});

    EXPECT_EQ(run(false), FixResult::Done);
    EXPECT_EQ(notification(second + QStringLiteral("\\0000")), kWrittenOff);
}

TEST_F(Win9xAutorun, NoInstanceThatCanBeOpenedGivesTheManualInstruction)
{
    registry.setValue(kRecorderDevice + QStringLiteral("\\0000"), kNotification, kOn);
    registry.setUnopenable(kRecorderDevice + QStringLiteral("\\0000"));
    EXPECT_EQ(run(true), FixResult::Failed);
    EXPECT_EQ(shown(prompter), QStringList({k9xManual}));
}

TEST_F(Win9xAutorun, RefusedWriteGivesTheManualInstruction)
{
    registry.setValue(kRecorderDevice + QStringLiteral("\\0000"), kNotification, kOn);
    registry.failWritesOf(kNotification);
    prompter.answer({pbYes});
    EXPECT_EQ(run(true), FixResult::Failed);
    EXPECT_EQ(shown(prompter), QStringList({k9xQuestion, k9xManual}));
}

// ---- Every family --------------------------------------------------------------------------

TEST(SystemFixes, InvalidDriveIndexTouchesNothingAndSaysNothing)
{
    for (WindowsFamily family : {WindowsFamily::NT, WindowsFamily::Win9x, WindowsFamily::NotWindows}) {
        FakeRegistry registry;
        ScriptedPrompter prompter;
        EXPECT_EQ(DisableCdAutorun(family, registry, prompter, std::nullopt, true), FixResult::NotApplicable);
        EXPECT_EQ(registry.accesses(), 0) << "family " << int(family);
        EXPECT_TRUE(prompter.requests().isEmpty()) << "family " << int(family);
    }
}

TEST(SystemFixes, ElsewhereThanWindowsNothingNeedsChanging)
{
    FakeRegistry registry;
    ScriptedPrompter prompter;
    EXPECT_EQ(DisableCdAutorun(WindowsFamily::NotWindows, registry, prompter, kRecorder, true),
              FixResult::NotApplicable);
    EXPECT_EQ(shown(prompter),
              QStringList({QStringLiteral(
                  "Autorun disabled | Desktop automounting of CDs does not disturb recording on "
                  "this system; nothing needs to be changed.")}));
    prompter.clear();
    EXPECT_EQ(DisableCdAutorun(WindowsFamily::NotWindows, registry, prompter, kRecorder, false),
              FixResult::NotApplicable);
    EXPECT_TRUE(prompter.requests().isEmpty()) << "without the report flag nothing is said";
    EXPECT_EQ(registry.accesses(), 0);
#ifndef Q_OS_WIN
    EXPECT_EQ(CurrentWindowsFamily(), WindowsFamily::NotWindows);
#endif
}

// ---- ASPI repair ---------------------------------------------------------------------------

TEST(AspiRepair, DeclinedChangesNothing)
{
    FakeRegistry registry;
    ScriptedPrompter prompter;
    prompter.answer({pbNo});
    EXPECT_EQ(RepairAspiRegistry(registry, prompter), FixResult::Declined);
    EXPECT_EQ(shown(prompter), QStringList({kAspiQuestion}));
    EXPECT_EQ(registry.accesses(), 0);
}

TEST(AspiRepair, ParametersAlreadyThereChangeNothingAndShowNoMessage)
{
    FakeRegistry registry;
    ScriptedPrompter prompter;
    registry.addKey(kAspiParameters);
    prompter.answer({pbYes});
    EXPECT_EQ(RepairAspiRegistry(registry, prompter), FixResult::NotApplicable);
    EXPECT_EQ(shown(prompter), QStringList({kAspiQuestion}));
    EXPECT_TRUE(registry.changes().isEmpty()) << registry.changes().join(QStringLiteral(", ")).toStdString();
}

TEST(AspiRepair, YesWritesTheExclusionAndAsksForARestart)
{
    FakeRegistry registry;
    ScriptedPrompter prompter;
    registry.setValue(kAspi, QStringLiteral("Start"), qint64(3));
    prompter.answer({pbYes});
    EXPECT_EQ(RepairAspiRegistry(registry, prompter), FixResult::Done);
    EXPECT_EQ(
        shown(prompter),
        QStringList(
            {kAspiQuestion,
             QStringLiteral("System restart required | To see your CD/DVD drives please restart Windows.")}));
    EXPECT_EQ(prompter.requests().back().icon, PromptIcon::Information);
    EXPECT_EQ(registry.changes(),
              QStringList({kAspiParameters, kAspiParameters + QStringLiteral(" : ExcludeMiniports"),
                           kAspi + QStringLiteral(" : ErrorControl"), kAspi + QStringLiteral(" : Start")}));
    EXPECT_EQ(registry.value(kAspiParameters, QStringLiteral("ExcludeMiniports")),
              FakeRegistry::Value(QString()));
    EXPECT_EQ(registry.value(kAspi, QStringLiteral("ErrorControl")), FakeRegistry::Value(qint64(1)));
    EXPECT_EQ(registry.value(kAspi, QStringLiteral("Start")), FakeRegistry::Value(qint64(1)));
}

TEST(AspiRepair, RefusedWriteIsReported)
{
    const QString failure =
        QStringLiteral("Error writing to registry | I cannot modify ExcludeMiniports option!");
    struct Case {
        const char *name;
        bool readOnly;
        const char *failingValue;
    };
    for (const Case &c :
         {Case{"key cannot be created", true, ""}, Case{"exclusion refused", false, "ExcludeMiniports"},
          Case{"start refused", false, "Start"}}) {
        FakeRegistry registry;
        ScriptedPrompter prompter;
        registry.addKey(kAspi);
        registry.setReadOnly(c.readOnly);
        if (*c.failingValue)
            registry.failWritesOf(QString::fromLatin1(c.failingValue));
        prompter.answer({pbYes});
        EXPECT_EQ(RepairAspiRegistry(registry, prompter), FixResult::Failed) << c.name;
        EXPECT_EQ(shown(prompter), QStringList({kAspiQuestion, failure})) << c.name;
        EXPECT_EQ(prompter.requests().back().icon, PromptIcon::Error) << c.name;
    }
}

} // namespace
