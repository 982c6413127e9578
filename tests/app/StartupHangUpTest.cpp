#include "MainFrmFixture.h"

#include "app/StartupHangUp.h"

namespace {

using platform::fake::ShownMessage;

class StartupHangUp : public MainFrmTest {
protected:
    void SetUp() override
    {
        fake_.dialUp().active = {{QStringLiteral("MTS"), QStringLiteral("1")},
                                 {QStringLiteral("Билайн"), QStringLiteral("2")}};
    }
};

TEST_F(StartupHangUp, YesHangsUpEveryConnectionWithAOneSecondWait)
{
    fake_.messages().answers = {true};
    auto frm = start();
    ASSERT_EQ(fake_.messages().shown.size(), 1u);
    const ShownMessage &q = fake_.messages().shown[0];
    EXPECT_EQ(q.kind, ShownMessage::Kind::Question);
    EXPECT_EQ(q.text, QStringLiteral("Обнаружены активные модемные соединения, разорвать?"));
    EXPECT_EQ(q.title, QStringLiteral("KXOrders"));
    EXPECT_EQ(q.icon, platform::MessageIcon::None);
    ASSERT_EQ(fake_.dialUp().hungUp.size(), 2u);
    EXPECT_EQ(fake_.dialUp().hungUp[0].name, QStringLiteral("MTS"));
    EXPECT_EQ(fake_.dialUp().hungUp[1].name, QStringLiteral("Билайн"));
    EXPECT_EQ(fake_.dialUp().hungUp[1].waitSeconds, 1);
}

TEST_F(StartupHangUp, NoLeavesTheConnectionsUpAndStartsNormally)
{
    fake_.messages().answers = {false};
    auto frm = start();
    EXPECT_TRUE(fake_.dialUp().hungUp.empty());
    EXPECT_EQ(fake_.dialUp().active.size(), 2u);
    EXPECT_EQ(frm->size(), QSize(546, 399));
}

TEST_F(StartupHangUp, NoActiveConnectionNoQuestion)
{
    fake_.dialUp().active.clear();
    auto frm = start();
    EXPECT_TRUE(fake_.messages().shown.empty());
}

TEST_F(StartupHangUp, FailingHangUpIsReportedAndTheWindowStillStarts)
{
    fake_.messages().answers = {true};
    fake_.dialUp().hangUpError = QStringLiteral("RAS Error code: 668.\n\"The connection was terminated\"");
    inst_.writeSubCustomer(3, QStringLiteral("Аптека"));
    auto frm = start();
    EXPECT_EQ(fake_.messages().errors(), QStringList({*fake_.dialUp().hangUpError}));
    EXPECT_EQ(frm->windowTitle(), app::TMainFrm::baseCaption() + QStringLiteral("(Аптека)"));
}

} // namespace
