#include "app/Boot.h"
#include "store/ProgramFolder.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QTimer>

#include <gtest/gtest.h>

using pennock::core::ProgramFolder;
using pennock::test::TempHome;
using pennock::ui::Tfm_Boot;

TEST(Boot, ShowsTheStartUpPictureForItsTimerAndHides)
{
    TempHome home;
    const ProgramFolder folder(home.path());
    pennock::core::restoreSystemPictures(folder);
    Tfm_Boot boot(folder);
    EXPECT_EQ(boot.windowTitle(), QString::fromUtf8("启动窗口"));
    EXPECT_EQ(boot.size(), QSize(370, 249));
    EXPECT_TRUE(boot.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(boot.hasPicture());
    EXPECT_EQ(boot.timer()->interval(), 500);
    EXPECT_TRUE(boot.timer()->isSingleShot());

    boot.run();
    EXPECT_FALSE(boot.isVisible());
    EXPECT_FALSE(boot.timer()->isActive());
}

TEST(Boot, AMissingPictureLeavesThePlainWindow)
{
    TempHome home;
    Tfm_Boot boot { ProgramFolder(home.path()) };
    EXPECT_FALSE(boot.hasPicture());
    EXPECT_EQ(boot.size(), QSize(370, 249));
}
