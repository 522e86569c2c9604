#include "AppFixture.h"

#include "project/ProjectModel.h"
#include "project/ProjectTreeModel.h"
#include "settings/DlgOptionsU.h"

#include <QCheckBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

namespace quillon::test {
namespace {

class MainWindowTest : public AppFixture {};

TEST_F(MainWindowTest, StartsWithAnEmptyDataProjectOnTheDataPage)
{
    startProgram();
    TMainForm *form = program->mainForm();
    ProjectModel &project = form->project();
    EXPECT_EQ(project.ProjectKind(), pkData);
    ASSERT_NE(project.root(), nullptr);
    EXPECT_EQ(project.root()->text(), "Quillon CD") << "the root takes the default disc name";
    EXPECT_EQ(form->PageControl1->currentWidget(), form->TabDataCD);
    EXPECT_TRUE(form->PageControl1->isTabVisible(form->PageControl1->indexOf(form->TabDataCD)));
    EXPECT_FALSE(form->PageControl1->isTabVisible(form->PageControl1->indexOf(form->TabAudio)));
    EXPECT_EQ(form->LblTotal->text(), "0 MB");
    EXPECT_EQ(form->LabelAudioTotal->text(), "0 MB");
    EXPECT_EQ(form->LblAudioTime->text(), "00:00");
    EXPECT_EQ(form->StatusDepth->text(), "Depth 0");
    EXPECT_EQ(ProjectTreeModel::folderAt(form->TreeCD->currentIndex()), project.root());
}

TEST_F(MainWindowTest, DepthLabelTurnsRedAndItsClickSelectsTheDeepestFolder)
{
    startProgram();
    TMainForm *form = program->mainForm();
    program->optionsDialog()->ChkDeep->setChecked(false);
    ProjectModel &project = form->project();
    ProjectFolder *folder = project.root();
    for (int level = 1; level <= 8; ++level)
        folder = project.AddFolderNode(folder, QStringLiteral("L%1").arg(level));
    form->UpdateTotals();
    EXPECT_EQ(form->LblDepth->text(), "Max depth: 8");
    EXPECT_EQ(form->LblDepth->toolTip(), "Directories nested too deep");
    EXPECT_EQ(form->LblDepth->palette().color(QPalette::WindowText), QColor(Qt::red));

    QTest::mouseClick(form->LblDepth, Qt::LeftButton);
    EXPECT_EQ(ProjectTreeModel::folderAt(form->TreeCD->currentIndex()), folder);
    EXPECT_EQ(form->StatusDepth->text(), "Depth 8");

    program->optionsDialog()->ChkDeep->setChecked(true);
    form->UpdateTotals();
    EXPECT_EQ(form->LblDepth->toolTip(), "Directory nesting OK");
    EXPECT_EQ(form->LblDepth->palette().color(QPalette::WindowText), QColor(Qt::blue));
}

} // namespace
} // namespace quillon::test
