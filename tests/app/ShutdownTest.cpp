#include "AppFixture.h"

#include "app/DlgAbortU.h"
#include "app/QuillonApplication.h"
#include "settings/DlgOptionsU.h"
#include "settings/IniStore.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>

namespace quillon::test {
namespace {

class CloseTest : public AppFixture {};

TEST_F(CloseTest, CloseWaitsForTheUpdateThreadBeforeSavingAndRemovesAnEmptyTemporaryFolder)
{
    startProgram();
    updates.running = true;
    program->optionsDialog()->ChkIso31->setChecked(true);
    ASSERT_TRUE(closeProgram());

    const int finished = indexOf("update thread finished");
    ASSERT_NE(finished, -1) << trace.steps().join(" | ").toStdString();
    EXPECT_LT(indexOf("close query"), finished);
    EXPECT_LT(finished, indexOf("FormDestroy: save settings"));
    EXPECT_LT(indexOf("FormDestroy: save settings"), indexOf("FormDestroy: remove temporary folder"));
    EXPECT_LT(indexOf("FormDestroy: remove temporary folder"), indexOf("data file written"));
    EXPECT_LT(indexOf("banner: exit notices"), indexOf("FormDestroy: save settings"));
    EXPECT_FALSE(QFileInfo::exists(services.paths.tempFolder()));

    IniStore saved;
    ASSERT_TRUE(saved.load(services.paths.settingsFile(), nullptr));
    EXPECT_EQ(saved.value("Options", "ChkIso31_Checked").value_or("missing"), "True");
    EXPECT_EQ(saved.value("TMainForm", "LblDefaultName_Caption").value_or("missing"), "Quillon CD");
    EXPECT_EQ(saved.value("TMainForm", "PanelLocal_Height").value_or("missing").toInt() > 0, true);
}

TEST_F(CloseTest, ATemporaryFolderHoldingFilesStays)
{
    startProgram();
    QFile leftover(services.paths.tempFolder() + "/leftover.wav");
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    ASSERT_TRUE(closeProgram());
    EXPECT_TRUE(QFileInfo::exists(leftover.fileName()));
}

TEST_F(CloseTest, DeclinedUnsavedProjectQuestionKeepsTheWindowAndSavesNothing)
{
    startProgram();
    guard.allow = false;
    EXPECT_FALSE(closeProgram());
    EXPECT_EQ(guard.asked, 1);
    EXPECT_EQ(indexOf("close query"), -1);
    EXPECT_EQ(indexOf("FormDestroy: save settings"), -1);
    EXPECT_FALSE(QFileInfo::exists(services.paths.settingsFile()));
    guard.allow = true;
    EXPECT_TRUE(closeProgram());
}

TEST_F(CloseTest, SettingsWrittenAtCloseAreReadAtTheNextStart)
{
    startProgram();
    program->optionsDialog()->ChkPad->setChecked(false);
    ASSERT_TRUE(closeProgram());
    program.reset();
    startProgram();
    EXPECT_FALSE(program->optionsDialog()->ChkPad->isChecked());
}

class PowerOffTest : public AppFixture {};

TEST_F(PowerOffTest, WarningCancelledKeepsTheProgramRunning)
{
    startProgram();
    prompter.clear();
    prompter.answer({pbCancel});
    program->mainForm()->CheckShutdownExecute();
    settle();
    ASSERT_EQ(prompter.requests().size(), 1);
    const PromptRequest &warning = prompter.requests()[0];
    EXPECT_EQ(warning.text, "System will be shut down soon! Press Cancel to abort.");
    EXPECT_EQ(warning.caption, "Warning");
    EXPECT_EQ(warning.buttons, pbOk | pbCancel);
    EXPECT_EQ(warning.defaultButton, pbCancel);
    EXPECT_TRUE(warning.systemModal);
    EXPECT_TRUE(program->mainForm()->isVisible());
    EXPECT_FALSE(program->mainForm()->TimerShutdown->isActive());
    EXPECT_EQ(powerOff.calls, 0);
}

TEST_F(PowerOffTest, OkClosesWithoutQuestionsSavesSettingsThenPowersOff)
{
    startProgram();
    guard.allow = false; // an unsaved project must not block the power-off
    prompter.answer({pbOk});
    program->mainForm()->CheckShutdownExecute();
    settleUntil([this] { return !program->mainForm()->isVisible(); });
    EXPECT_FALSE(program->mainForm()->isVisible());
    program->finish();
    EXPECT_EQ(guard.asked, 0);
    EXPECT_EQ(indexOf("banner: exit notices"), -1) << "a forced close shows no notices";
    EXPECT_EQ(powerOff.calls, 1);
    EXPECT_LT(indexOf("FormDestroy: save settings"), indexOf("system power-off"));
    EXPECT_LT(indexOf("data file written"), indexOf("system power-off"));
    EXPECT_TRUE(QFileInfo::exists(services.paths.settingsFile()));
}

TEST_F(PowerOffTest, TheMinutePassingWithTheWarningOpenPowersOff)
{
    services.shutdownWarningMs = 20;
    startProgram();
    guard.allow = false;
    prompter.whileShown = [this](const PromptRequest &) {
        settleUntil([this] { return !program->mainForm()->TimerShutdown->isActive(); });
    };
    prompter.answer({pbCancel}); // what the closed warning reports
    program->mainForm()->CheckShutdownExecute();
    prompter.whileShown = nullptr;
    settleUntil([this] { return !program->mainForm()->isVisible(); });
    EXPECT_FALSE(program->mainForm()->isVisible());
    program->finish();
    EXPECT_EQ(guard.asked, 0);
    EXPECT_EQ(powerOff.calls, 1);
}

TEST_F(PowerOffTest, ARefusedPowerOffIsReported)
{
    startProgram();
    powerOff.refuse = true;
    prompter.clear();
    prompter.answer({pbOk});
    program->mainForm()->CheckShutdownExecute();
    settleUntil([this] { return !program->mainForm()->isVisible(); });
    program->finish();
    ASSERT_EQ(prompter.requests().size(), 2);
    EXPECT_EQ(prompter.requests()[1].text, "The computer could not be switched off:\r\nOperation inhibited");
}

class BusyTest : public AppFixture {};

TEST_F(BusyTest, CancelStopsTheOperationAndOnlyOneRunsAtATime)
{
    startProgram();
    TMainForm *form = program->mainForm();
    bool secondRan = false;
    bool secondAccepted = true;
    QElapsedTimer waited;
    QTimer::singleShot(30, form, [&] { program->busyDialog()->BtnCancel->click(); });
    const bool ran = form->RunBusy("Reading directories...", [&] {
        EXPECT_EQ(program->busyDialog()->LblText->text(), "Reading directories...");
        EXPECT_FALSE(form->BusyFinished);
        secondAccepted = form->RunBusy("Loading project...", [&] { secondRan = true; });
        waited.start();
        while (!form->AbortRequested && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(form->AbortRequested) << "Cancel sets the abort flag the operation polls";
    EXPECT_LT(waited.elapsed(), 5000);
    EXPECT_TRUE(form->BusyFinished);
    EXPECT_FALSE(secondAccepted);
    EXPECT_FALSE(secondRan);
    EXPECT_FALSE(program->busyDialog()->isVisible());

    // The next operation starts with a clear flag.
    bool thirdSawAbort = true;
    form->RunBusy("Loading project...", [&] { thirdSawAbort = form->AbortRequested; });
    EXPECT_FALSE(thirdSawAbort);
}

TEST_F(BusyTest, ClosingTheDialogMidwayWaitsForTheOperation)
{
    startProgram();
    TMainForm *form = program->mainForm();
    QString textWhileFinishing;
    bool cancelEnabled = true;
    form->RunBusy("Reading ISO file...", [&] {
        program->busyDialog()->close();
        QCoreApplication::processEvents();
        textWhileFinishing = program->busyDialog()->LblText->text();
        cancelEnabled = program->busyDialog()->BtnCancel->isEnabled();
        EXPECT_TRUE(program->busyDialog()->isVisible());
    });
    EXPECT_EQ(textWhileFinishing, "Finishing. Please wait ...");
    EXPECT_FALSE(cancelEnabled);
    EXPECT_TRUE(form->AbortRequested);
    EXPECT_FALSE(program->busyDialog()->isVisible());
}

TEST_F(BusyTest, AnErrorInsideTheOperationStillEndsIt)
{
    startProgram();
    TMainForm *form = program->mainForm();
    form->RunBusy("Reading session info...", [] { throw std::runtime_error("unreadable"); });
    EXPECT_TRUE(form->BusyFinished);
    EXPECT_FALSE(program->busyDialog()->isVisible());
}

TEST_F(BusyTest, DeferredActionsRunAfterTheCurrentEventAndNoneIsLost)
{
    startProgram();
    TMainForm *form = program->mainForm();
    QStringList ran;
    form->TimerAbort([&] { ran << "first"; });
    form->TimerAbort([&] { ran << "second"; });
    EXPECT_TRUE(ran.isEmpty()) << "nothing runs inside the current event";
    settleUntil([&] { return ran.size() == 2; });
    EXPECT_EQ(ran, (QStringList{"first", "second"}));
}

TEST(EscapedErrorTest, AnErrorEscapingAHandlerIsLoggedAndTheProgramGoesOn)
{
    int escaped = 0;
    EXPECT_FALSE(QuillonApplication::deliverGuarded(nullptr, [] () -> bool { throw std::logic_error("bug"); },
                                                    &escaped));
    EXPECT_FALSE(QuillonApplication::deliverGuarded(nullptr, [] () -> bool { throw 42; }, &escaped));
    EXPECT_TRUE(QuillonApplication::deliverGuarded(nullptr, [] { return true; }, &escaped));
    EXPECT_EQ(escaped, 2);
}

} // namespace
} // namespace quillon::test
