#include "templates/ImageShow.h"
#include "store/Database.h"
#include "store/Installation.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <QImage>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;
using pennock::ui::TfrmImageShow;

TEST(ImageShow, ShowsATemplatesPictureAndClosesOnAClick)
{
    TempHome home;
    const ProgramFolder folder(home.path());
    ensureInstallation(folder);
    QImage picture(120, 60, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(home.file(QStringLiteral("Image/zp_test.jpg"))));
    Database db(folder.databasePath());
    db.execute(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeName, ImgFile) values "
                              "(1, '支票（测试）', 'ZP_TEST.JPG'), (2, '支票（无图）', '')"));
    ScriptedPrompter prompter;

    TfrmImageShow viewer;
    ASSERT_TRUE(viewer.loadPictureByFullName(db, folder, prompter, QStringLiteral("支票（测试）")));
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Pennock软件-模板图片查看【支票（测试）】"));
    EXPECT_EQ(viewer.pictureLabel()->pixmap().size(), QSize(120, 60));
    viewer.show();
    QTest::mouseClick(const_cast<QLabel*>(viewer.pictureLabel()), Qt::LeftButton);
    EXPECT_FALSE(viewer.isVisible());

    EXPECT_FALSE(
        viewer.loadPictureByFullName(db, folder, prompter, QStringLiteral("支票（无图）")));
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("没有有效的图片文件~") });
}
