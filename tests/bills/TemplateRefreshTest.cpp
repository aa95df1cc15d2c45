#include "BillFixture.h"

#include "templates/TemplateManagerStore.h"

#include <QTabBar>

using namespace pennock;
using pennock::test::BillFixture;

namespace {

class TemplateRefresh : public BillFixture
{
protected:
    core::TemplateManagerStore store { services.db(), services.folder() };

    static QStringList tabTexts(ui::TfmBillForm& form)
    {
        QStringList out;
        for (int i = 0; i < form.tbcCheckTypeName()->count(); ++i)
            out << form.tbcCheckTypeName()->tabText(i);
        return out;
    }
};

} // namespace

TEST_F(TemplateRefresh, TheCommonTemplatesTabOpensTheManagerOnTheFormsTemplate)
{
    QList<int> opened;
    env.openTemplateManager = [&opened](int id) { opened << id; };
    auto form = openCheque();
    QTabBar* tabs = form->tbcCheckTypeName();
    ASSERT_TRUE(tabs->isTabEnabled(2));
    tabs->setCurrentIndex(2);
    EXPECT_EQ(opened, QList<int> { kIcbc });
    // The form stays on its template.
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(form->currentTypeId(), kIcbc);
}

TEST_F(TemplateRefresh, ARenamedTemplateKeepsItsPlaceUnderItsNewName)
{
    auto form = openCheque();
    ASSERT_TRUE(store.rename(kIcbc, QStringLiteral("支票"), QStringLiteral("工行新版")));
    form->reloadTemplates();
    EXPECT_EQ(form->currentTypeId(), kIcbc);
    EXPECT_EQ(form->variant(), QStringLiteral("工行新版"));
    EXPECT_EQ(tabTexts(*form),
        (QStringList { QStringLiteral("工行新版"), QStringLiteral("建设银行2010版"),
            QStringLiteral("配置常用模板") }));
    EXPECT_EQ(form->tbcCheckTypeName()->currentIndex(), 0);
}

TEST_F(TemplateRefresh, AHiddenTemplateGivesWayToTheKindsDefault)
{
    auto form = openCheque();
    form->setCurrentCheckType(QStringLiteral("建设银行2010版"));
    form->cbFirstTypeNameChange();
    ASSERT_EQ(form->currentTypeId(), kCcb);
    store.setEnabled(kCcb, false);
    form->reloadTemplates();
    EXPECT_EQ(form->currentTypeId(), kIcbc);
    EXPECT_EQ(form->laidOutTypeId(), kIcbc);
    EXPECT_EQ(form->cbFirstTypeName()->count(), 1);
    EXPECT_EQ(tabTexts(*form),
        (QStringList { QStringLiteral("工商银行2010版"), QStringLiteral("配置常用模板") }));
    EXPECT_EQ(form->tbcCheckTypeName()->currentIndex(), 0);
}
