#include "AppFixture.h"

#include "app/OptionsCommands.h"
#include "project/ProjectModel.h"
#include "settings/DlgOptionsU.h"
#include "settings/WizOptionsU.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

namespace quillon::test {
namespace {

class OptionsCommandsTest : public AppFixture {};

TEST_F(OptionsCommandsTest, OkGivesTheMainWindowTheDiscNameTotalsAndCdTextCase)
{
    startProgram();
    TMainForm *form = program->mainForm();
    TDlgOptions *options = program->optionsDialog();
    auto *row = new QTreeWidgetItem(form->ListAudio);
    row->setText(4, "THE 2ND SONG");
    options->ChkUpcaseCDText->setChecked(true);
    options->setExecHook([](TDlgOptions &d) {
        d.EditDefaultName->setText("Holiday 2026");
        d.ChkUpcaseCDText->setChecked(false);
        d.ChkJoliet->setChecked(false);
        return int(QDialog::Accepted);
    });
    program->optionsCommands()->Options1->trigger();
    EXPECT_EQ(form->DefaultDiscName(), QString("Holiday 2026"));
    EXPECT_EQ(row->text(4), QString("The 2Nd Song")) << "proper case once the upper-case box is off";
    EXPECT_EQ(form->Options().Identify, QString("Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 5.0)"));
    EXPECT_EQ(program->settings().value("Options", "ChkJoliet_Checked", QString()), QString("False"));

    options->setExecHook([](TDlgOptions &d) {
        d.ChkUpcaseCDText->setChecked(true);
        return int(QDialog::Accepted);
    });
    options->ShowOptionsDialog();
    EXPECT_EQ(row->text(4), QString("THE 2ND SONG"));
}

TEST_F(OptionsCommandsTest, DeepFoldersQuestionSeesTheProjectsDeepestFolder)
{
    startProgram();
    ProjectModel &project = program->mainForm()->project();
    ProjectFolder *folder = project.root();
    for (int level = 1; level <= 8; ++level)
        folder = project.AddFolderNode(folder, QStringLiteral("L%1").arg(level));
    prompter.answer({pbNo});
    program->optionsDialog()->setExecHook([](TDlgOptions &d) {
        d.ChkDeep->click();
        return int(QDialog::Accepted);
    });
    program->optionsDialog()->ShowOptionsDialog();
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].caption, QString("Folders nested 8 levels"));
    EXPECT_TRUE(program->optionsDialog()->ChkDeep->isChecked());
}

TEST_F(OptionsCommandsTest, TheLookReachesTheMainWindowsBarsAndTabs)
{
    startProgram();
    TMainForm *form = program->mainForm();
    QImage bricks(8, 8, QImage::Format_RGB32);
    bricks.fill(QColor(0x80, 0x40, 0x20));
    const QString file = dir.filePath("bricks.png");
    ASSERT_TRUE(bricks.save(file));
    program->optionsDialog()->setExecHook([&file](TDlgOptions &d) {
        d.BackgroundChosen(file);
        d.ChkUseFonts->setChecked(true);
        d.model().setColorFontAll(0x0000FF); // red, stored 0x00BBGGRR
        return int(QDialog::Accepted);
    });
    program->optionsDialog()->ShowOptionsDialog();
    const QBrush bar = form->SpeedBar4->palette().brush(form->SpeedBar4->backgroundRole());
    EXPECT_EQ(bar.textureImage().pixelColor(0, 0), QColor(0x80, 0x40, 0x20)) << "the picture behind the speed bar";
    EXPECT_NE(form->ComboCDs->palette().brush(QPalette::Button).textureImage().pixelColor(0, 0),
              QColor(0x80, 0x40, 0x20))
        << "the combo on the bar keeps its own background";
    EXPECT_EQ(form->PageControl1->tabBar()->tabTextColor(0), QColor(Qt::red));

    program->optionsDialog()->setExecHook([](TDlgOptions &d) {
        d.ChkUseFonts->setChecked(false);
        return int(QDialog::Accepted);
    });
    program->optionsDialog()->ShowOptionsDialog();
    EXPECT_EQ(form->PageControl1->tabBar()->tabTextColor(0), QColor(Qt::black));
}

TEST_F(OptionsCommandsTest, TheFirstStartRunsTheWizardInsteadOfThePlaceholder)
{
    struct Placeholder : WizardService {
        void run() override {}
        bool placeholder() const override { return true; }
    } placeholder;
    services.wizard = &placeholder;
    program = std::make_unique<QuillonProgram>(services);
    bool shown = false;
    program->start();
    ASSERT_NE(program->optionsCommands(), nullptr);
    EXPECT_EQ(services.wizard, program->optionsCommands());
    program->optionsCommands()->setWizardHook([&shown](TWizOptions &w) {
        shown = true;
        EXPECT_EQ(w.currentPage(), 0);
        return int(QDialog::Rejected);
    });
    settleUntil([&shown] { return shown; });
    EXPECT_TRUE(shown) << "no first-start marker: the wizard opens";
    EXPECT_FALSE(program->optionsDialog()->ComboCharacterSet->currentText().isEmpty()) << "detected first";

    // The Tools menu opens it too.
    shown = false;
    program->optionsCommands()->Configurationwizard1->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(program->optionsCommands()->ToolsMenu->title(), QString("&Tools"));
}

} // namespace
} // namespace quillon::test
