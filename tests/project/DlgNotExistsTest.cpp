#include "project/DlgNotExistsU.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(DlgNotExistsTest, ShowsItsDefaultsAndTellsHowItWasClosed)
{
    TDlgNotExists dialog;
    dialog.setRequest({QStringLiteral("/music/a.wav")});
    EXPECT_EQ(dialog.windowTitle(), "File not found");
    EXPECT_EQ(dialog.LblFile->text(), "&File");
    EXPECT_EQ(dialog.LblText->text(), "was not found. Do you wish to continue?");
    EXPECT_EQ(dialog.EditName->text(), "/music/a.wav");
    EXPECT_TRUE(dialog.EditName->isReadOnly());
    EXPECT_EQ(dialog.BtnGoToDisk->toolTip(), "Go to disk location");
    EXPECT_EQ(dialog.ChkAuto->text(), "&Ignore other files");
    auto *buttons = dialog.findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_TRUE(buttons->button(QDialogButtonBox::Cancel)->isDefault()) << "Cancel is the default";

    // Go to disk closes like Cancel and says so.
    QTimer::singleShot(0, &dialog, [&] { dialog.BtnGoToDisk->click(); });
    dialog.exec();
    NotExistsAnswer a = dialog.answer();
    EXPECT_FALSE(a.accepted);
    EXPECT_TRUE(a.goToDisk);

    dialog.setRequest({QStringLiteral("x"), QStringLiteral("Track not found"), QStringLiteral("&Track"),
                       QStringLiteral("is missing.")});
    EXPECT_EQ(dialog.windowTitle(), "Track not found");
    QTimer::singleShot(0, &dialog, [&] {
        dialog.ChkAuto->setChecked(true);
        dialog.accept();
    });
    dialog.exec();
    a = dialog.answer();
    EXPECT_TRUE(a.accepted);
    EXPECT_TRUE(a.ignoreOthers);
    EXPECT_FALSE(a.goToDisk);
}

} // namespace
} // namespace quillon
