#include "settings/DlgOptionsU.h"

#include "settings/IniStore.h"
#include "settings/TOptionsU.h"

#include "SettingsTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

IniStore parsed(const char *text)
{
    IniStore ini;
    ini.parse(QByteArray(text));
    return ini;
}

TEST(DlgOptionsTest, ControlsShowTheModelAndWriteIntoIt)
{
    TDlgOptions dialog;
    EXPECT_TRUE(dialog.ChkJoliet->isChecked());
    EXPECT_TRUE(dialog.ChkPad->isChecked());
    EXPECT_TRUE(dialog.ChkDeep->isChecked());
    EXPECT_FALSE(dialog.ChkIso31->isChecked());
    EXPECT_FALSE(dialog.ChkStoreDir->isChecked());

    dialog.restoreSettings(
        parsed("[Options]\r\nChkJoliet_Checked=False\r\nEditTmpFile_FileName= /tmp/a.iso \r\n"
               "ComboFreq_ItemIndex=5\r\n"));
    EXPECT_FALSE(dialog.ChkJoliet->isChecked());
    EXPECT_EQ(dialog.EditTmpFile->text(), QStringLiteral("/tmp/a.iso"));
    EXPECT_EQ(dialog.model().ComboFreq(), 0) << "the encoder lists start at entry 0 on the first restore";

    dialog.ChkIso31->setChecked(true);
    dialog.EditTmpFile->setText(QStringLiteral("/tmp/b.iso"));
    EXPECT_TRUE(dialog.model().ChkIso31());
    IniStore ini;
    dialog.saveSettings(ini);
    EXPECT_EQ(ini.value("Options", "ChkIso31_Checked", QString()), QStringLiteral("True"));
    EXPECT_EQ(ini.value("Options", "EditTmpFile_FileName", QString()), QStringLiteral("/tmp/b.iso"));
    EXPECT_EQ(ini.keys("Options").size(), 9 + 71) << "window keys and every option";

    // Cancel restores again: the stored state comes back and the lists keep the stored positions.
    dialog.ChkIso31->setChecked(false);
    dialog.restoreSettings(parsed("[Options]\r\nChkIso31_Checked=True\r\nComboFreq_ItemIndex=5\r\n"));
    EXPECT_TRUE(dialog.ChkIso31->isChecked());
    EXPECT_EQ(dialog.model().ComboFreq(), 5);
}

TEST(DlgOptionsTest, RecorderChoiceSurvivesAnEmptyList)
{
    TDlgOptions dialog;
    IniStore stored;
    {
        OptionsModel model;
        model.setComboCDs(2);
        model.save(stored);
    }
    dialog.restoreSettings(stored);
    EXPECT_EQ(dialog.model().ComboCDs(), 2);
    EXPECT_EQ(dialog.ComboCDs->currentIndex(), -1) << "no drives listed yet";
    dialog.ComboCDs->addItems({QStringLiteral("D:"), QStringLiteral("E:"), QStringLiteral("F:")});
    dialog.ComboCDs->setCurrentIndex(1);
    EXPECT_EQ(dialog.model().ComboCDs(), 1);
}

} // namespace

namespace {

TEST(DlgOptionsTest, ShowOptionsDialogStoresOnOkAndRevertsOnCancel)
{
    TDlgOptions dialog;
    IniStore ini;
    TOptions data;
    dialog.setSettingsStore(&ini);
    dialog.setDataOptions(&data);
    dialog.restoreSettings(ini);
    QStringList calls;
    TDlgOptions::MainWindowHooks hooks;
    hooks.setDefaultDiscName = [&calls](const QString &name) { calls << "name " + name; };
    hooks.applyLook = [&calls] { calls << "look"; };
    hooks.updateTotals = [&calls] { calls << "totals"; };
    dialog.setMainWindowHooks(hooks);

    bool shownWhileOpen = false;
    dialog.setExecHook([&shownWhileOpen](TDlgOptions &d) {
        shownWhileOpen = d.showing();
        d.ChkIso31->setChecked(true);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(dialog.ShowOptionsDialog(QStringLiteral("Data CD")));
    EXPECT_TRUE(shownWhileOpen);
    EXPECT_FALSE(dialog.showing());
    EXPECT_EQ(ini.value("Options", "ChkIso31_Checked", QString()), QStringLiteral("True")) << "OK stores";
    EXPECT_EQ(data.Identify, QStringLiteral("Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 5.0)"));
    EXPECT_EQ(calls, (QStringList{"name ", "look", "totals"}));

    dialog.setExecHook([](TDlgOptions &d) {
        d.ChkIso31->setChecked(false);
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(dialog.ShowOptionsDialog(QString()));
    EXPECT_TRUE(dialog.ChkIso31->isChecked()) << "Cancel brings the stored value back";

    dialog.ChkDeep->setChecked(false);
    dialog.AllowDeepFolders();
    EXPECT_TRUE(dialog.ChkDeep->isChecked());
    EXPECT_EQ(ini.value("Options", "ChkDeep_Checked", QString()), QStringLiteral("True"));
}

} // namespace
