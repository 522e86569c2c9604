#include "settings/WizOptionsU.h"

#include "settings/RecorderList.h"

#include "OptionsFixture.h"
#include "SettingsTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace quillon;
using quillon::test::OptionsOnDrives;
using quillon::test::readingDrive;
namespace drives = quillon::test::drives;

namespace {

class WizardTest : public OptionsOnDrives {
protected:
    // Back, Next, Finish enabled, as "BNF" with dashes for disabled ones.
    static QString buttons(const TWizOptions &w)
    {
        return QString(w.BtnBack->isEnabled() ? "B" : "-") + (w.BtnNext->isEnabled() ? "N" : "-") +
               (w.BtnFinish->isEnabled() ? "F" : "-");
    }
};

TEST_F(WizardTest, PagesAndButtonsFromFirstToLastAndBack)
{
    install({drives::recorder()});
    TDlgOptions &options = create();
    QTemporaryDir dir;
    options.DirRipOutput->setText(dir.filePath("rips/new"));
    TWizOptions w(options);
    EXPECT_EQ(w.windowTitle(), QString("Configuration wizard"));
    EXPECT_EQ(w.currentPage(), 0);
    EXPECT_EQ(buttons(w), QString("-N-"));
    EXPECT_EQ(w.ComboCDs->currentIndex(), 0) << "the options dialog's selection";
    EXPECT_EQ(w.ComboCDs->model(), &options.recorders()) << "the same items";
    for (int page = 1; page < TWizOptions::kPageCount; ++page) {
        w.BtnNext->click();
        EXPECT_EQ(w.currentPage(), page);
    }
    EXPECT_EQ(buttons(w), QString("B-F"));
    EXPECT_TRUE(w.BtnFinish->isDefault());
    EXPECT_TRUE(QFileInfo(dir.filePath("rips/new")).isDir()) << "the rip folder is made with its parents";
    EXPECT_EQ(prompter.texts(), (QStringList{"Lame.exe not found.", "Mp3Check.exe.exe not found."}));
    EXPECT_EQ(prompter.requests().value(0).caption, QString("Optional external program"));
    w.BtnBack->click();
    EXPECT_EQ(w.currentPage(), 4);
    EXPECT_EQ(buttons(w), QString("BN-"));
    for (int i = 0; i < 4; ++i)
        w.BtnBack->click();
    EXPECT_EQ(buttons(w), QString("-N-"));
}

TEST_F(WizardTest, NoDriveShowsTheNoteAndFinishesWithoutARecorder)
{
    install({});
    TDlgOptions &options = create();
    TWizOptions w(options);
    w.BtnNext->click();
    EXPECT_TRUE(w.LblNote->text().startsWith("No CD drive detected")) << w.LblNote->text().toStdString();
#ifndef Q_OS_WIN
    EXPECT_TRUE(w.LblNote->text().contains("\"cdrom\" group"));
#endif
    w.BtnNext->click();
    EXPECT_EQ(w.currentPage(), 2) << "the recorder page passes without a selection";
    w.BtnFinishClick();
    EXPECT_EQ(options.ComboCDs->currentIndex(), -1);
}

TEST_F(WizardTest, AReadingDriveAnsweredNoStaysWithoutSelection)
{
    install({readingDrive(), drives::recorder()});
    TDlgOptions &options = create();
    QList<int> autorun;
    TDlgOptions::MainWindowHooks hooks;
    hooks.disableCdAutorun = [&autorun](int index, bool report) {
        EXPECT_FALSE(report);
        autorun << index;
    };
    options.setMainWindowHooks(hooks);
    TWizOptions w(options);
    w.BtnNext->click();
    w.ComboCDs->setCurrentIndex(0);
    prompter.answer({pbNo});
    w.BtnNext->click();
    EXPECT_EQ(prompter.texts(),
              QStringList{"Are you sure that drive D:  EMU CD-ROM  (QUILLON)  0,0,0 supports recording?"});
    EXPECT_EQ(w.currentPage(), 1);
    EXPECT_EQ(w.ComboCDs->currentIndex(), -1);
    EXPECT_EQ(options.ComboCDs->currentIndex(), 1) << "the options dialog keeps its own selection";
    w.BtnNext->click();
    EXPECT_EQ(w.currentPage(), 2) << "again: no question without a selection";
    EXPECT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(autorun, QList<int>{-1});
}

TEST_F(WizardTest, AFolderThatCannotBeMadeIsReportedAndPassed)
{
    install({drives::recorder()});
    TDlgOptions &options = create();
    QTemporaryDir dir;
    ASSERT_TRUE(test::writeAll(dir.filePath("file"), "x"));
    TWizOptions w(options);
    w.DirRipOutput->setText(dir.filePath("file/sub"));
    w.BtnNext->click();
    w.BtnNext->click();
    w.BtnNext->click();
    EXPECT_EQ(w.currentPage(), 3);
    EXPECT_EQ(prompter.texts().value(0), "I can't create folder " + dir.filePath("file/sub"));
    EXPECT_EQ(prompter.requests().value(0).caption, QString("Error creating folder"));
}

TEST_F(WizardTest, FinishWritesBackAndCancelChangesNothing)
{
    install({drives::recorder(), drives::recorder()});
    TDlgOptions &options = create();
    options.saveSection();
    const QByteArray before = ini.toBytes();
    {
        TWizOptions w(options);
        w.setExecHook([](TWizOptions &wiz) {
            wiz.ComboCDs->setCurrentIndex(1);
            wiz.EditLame->setText("/usr/bin/lame");
            wiz.DirRipOutput->setText("/srv/rips");
            wiz.BtnNext->click();
            return int(QDialog::Rejected);
        });
        EXPECT_EQ(w.run(), int(QDialog::Rejected));
    }
    EXPECT_EQ(options.ComboCDs->currentIndex(), 0);
    EXPECT_TRUE(options.EditLame->text().isEmpty());
    EXPECT_EQ(ini.toBytes(), before) << "Cancel changes nothing";

    TWizOptions w(options);
    w.ComboCDs->setCurrentIndex(1);
    w.EditLame->setText("/usr/bin/lame");
    w.EditMP3Check->setText("/usr/bin/mp3check");
    w.DirRipOutput->setText("/srv/rips");
    w.BtnFinishClick();
    EXPECT_EQ(options.ComboCDs->currentIndex(), 1);
    EXPECT_TRUE(options.ChkBurnproof->isChecked()) << "the recorder change handler ran";
    EXPECT_EQ(options.EditLame->text(), QString("/usr/bin/lame"));
    EXPECT_EQ(options.EditMp3Check->text(), QString("/usr/bin/mp3check"));
    EXPECT_EQ(ini.value("Options", "DirRipOutput_Text", QString()), QString("/srv/rips")) << "saved";
    EXPECT_EQ(ini.value("Options", "ComboCDs_Identity", QString()), QString("QUILLON|EMU CD-RW|/dev/sr1"));
}

} // namespace
