// The running-server window: cycles over the rotation list, closing the running server by its
// window title and starting the next map, on a recorded clock.
#include "ArenaFixture.h"

#include "GameServer.h"
#include "Helpers.h"
#include "ModuleState.h"
#include "TextControls.h"
#include "frmCfgServ.h"
#include "frmServerModule.h"

#include "core/Text.h"
#include "shared/Ui.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace kx::arenawarden {
namespace {

const std::vector<std::string> kCycleLines = {"Checking MapList...", "Refresh Maps...",  "Calculate Times...",
                                              "Initialize Cycle...", "Sending Kill!...", "Prepare Run!...",
                                              "Starting QF...",      "",                 ""};

class Cycling : public ArenaTest {
protected:
    void SetUp() override {
        ArenaTest::SetUp();
        state().serverPlayers = 8;
        state().cycleMinutes = 40;
        state().serverGameType = "ctf";
        state().serverName = "Arena";
        fake.windows = {{77, DedicatedServerTitle}};
    }
    frmServerModule& window(const std::vector<std::string>& maps) {
        auto& m = serverModule();
        for (const auto& map : maps) m.List1->addItem(toUi(map));
        return m;
    }
    std::string startedMap(size_t i) const { return fake.starts.at(i).args.at(6); }
    std::string text(QLineEdit* e) const { return fromUi(e->text()); }
    // One tick of the timer at the present fake time plus ms.
    void tickAfter(frmServerModule& m, qint64 ms) {
        fake.advance(ms);
        m.Timer1_Timer();
    }
};

TEST_F(Cycling, FirstCycleStartsTheFirstMapAndLogsEveryStep) {
    auto& m = window({"a", "b", "c"});
    EXPECT_TRUE(m.Timer1->isActive());
    EXPECT_EQ(m.Timer1->interval(), 100);
    m.Command1_Click();
    EXPECT_EQ(m.Command1->text().toStdString(), "force cycling");
    EXPECT_EQ(text(m.Text2), "a");
    EXPECT_EQ(text(m.Text3), "b");
    EXPECT_EQ(text(m.Text4), dateTimeText(fake.clock));
    EXPECT_EQ(text(m.Text6), dateTimeText(fake.clock.addSecs(40 * 60)));
    EXPECT_EQ(state().activeMap, "a");
    EXPECT_EQ(fake.closedWindows, (std::vector<std::uint64_t>{77}));
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].args, serverCommand(8, "Arena", "a", "ctf").args);
    std::vector<std::string> expected = {"ZIV started..."};
    expected.insert(expected.end(), kCycleLines.begin(), kCycleLines.end());
    EXPECT_EQ(logLines(m.Text1), expected);
    // The log's text itself: the empty line is a line break of its own, then AppendLine's.
    EXPECT_EQ(m.Text1->text().substr(m.Text1->text().size() - 20), "Starting QF...\r\n\r\n\r\n");
    // The close request comes before the new start, with the game directory made current.
    std::vector<std::string> order;
    for (const auto& c : fake.calls)
        if (c.rfind("closeWindow", 0) == 0 || c.rfind("chdir", 0) == 0 || c.rfind("start(", 0) == 0) order.push_back(c);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], "closeWindow(77)");
    EXPECT_EQ(order[1], "chdir(" + dir.path() + ")");
}

TEST_F(Cycling, TheEndOfEachCycleStartsTheNextMapAndWrapsAround) {
    auto& m = window({"a", "b", "c"});
    m.Command1_Click();
    // Before the end: only the present time moves.
    tickAfter(m, 40 * 60 * 1000 - 1000);
    EXPECT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(text(m.Text5), dateTimeText(fake.clock));
    // The first tick in the end second fires, once.
    tickAfter(m, 1000);
    ASSERT_EQ(fake.starts.size(), 2u);
    EXPECT_EQ(startedMap(1), "b");
    EXPECT_EQ(text(m.Text3), "c");
    tickAfter(m, 100);
    tickAfter(m, 100);
    EXPECT_EQ(fake.starts.size(), 2u);
    // Third map: nothing follows it, and the timer leaves the next-map box empty.
    tickAfter(m, 40 * 60 * 1000);
    ASSERT_EQ(fake.starts.size(), 3u);
    EXPECT_EQ(startedMap(2), "c");
    EXPECT_EQ(text(m.Text3), "");
    tickAfter(m, 100);
    EXPECT_EQ(text(m.Text3), "");
    tickAfter(m, 40 * 60 * 1000);
    ASSERT_EQ(fake.starts.size(), 4u);
    EXPECT_EQ(startedMap(3), "a");
    EXPECT_EQ(text(m.Text3), "b");

    const auto lines = logLines(m.Text1);
    std::vector<std::string> oneTimed = {"Timelimit reached..."};
    oneTimed.insert(oneTimed.end(), kCycleLines.begin(), kCycleLines.end());
    std::vector<std::string> expected = {"ZIV started..."};
    expected.insert(expected.end(), kCycleLines.begin(), kCycleLines.end());
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), oneTimed.begin(), oneTimed.end());
    EXPECT_EQ(lines, expected);
}

// Counts the paints a widget receives.
class Paints : public QObject {
public:
    explicit Paints(QWidget* w) { w->installEventFilter(this); }
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++count;
        return false;
    }
};

// The present time changes once a second; of the ten ticks in it only the first draws the box.
TEST_F(Cycling, WhileWaitingOnlyTheNewSecondIsDrawn) {
    auto& m = window({"a"});
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    m.Command1_Click();
    fake.clock = fake.clock.addMSecs(1000 - fake.clock.time().msec()); // a whole second
    tickAfter(m, 0);
    QCoreApplication::processEvents();
    Paints now(m.Text5);
    for (int i = 0; i < 9; ++i) {
        tickAfter(m, 100);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(now.count, 0);
    EXPECT_EQ(text(m.Text5), dateTimeText(fake.clock));
    tickAfter(m, 100);
    EXPECT_EQ(now.count, 1) << "the new second is drawn at once";
    EXPECT_EQ(text(m.Text5), dateTimeText(fake.clock));
}

TEST_F(Cycling, AMissedEndSecondStillEndsTheCycleOnce) {
    auto& m = window({"a", "b"});
    m.Command1_Click();
    const QDateTime end = m.cycleEnd();
    // The machine slept through the end: the first tick after it fires, and only that one.
    tickAfter(m, 40 * 60 * 1000 + 7 * 60 * 1000);
    ASSERT_EQ(fake.starts.size(), 2u);
    EXPECT_EQ(startedMap(1), "b");
    EXPECT_GT(m.cycleEnd(), end);
    EXPECT_EQ(text(m.Text6), dateTimeText(fake.clock.addSecs(40 * 60)));
    tickAfter(m, 100);
    EXPECT_EQ(fake.starts.size(), 2u);
}

TEST_F(Cycling, ARotationOfOneMapRestartsIt) {
    auto& m = window({"solo"});
    m.Command1_Click();
    tickAfter(m, 40 * 60 * 1000);
    ASSERT_EQ(fake.starts.size(), 2u);
    EXPECT_EQ(startedMap(0), "solo");
    EXPECT_EQ(startedMap(1), "solo");
    EXPECT_EQ(text(m.Text3), "");
}

TEST_F(Cycling, TheCycleTimeIsRoundedHalfToEven) {
    state().cycleMinutes = 40.5;
    auto& m = window({"a"});
    m.Command1_Click();
    EXPECT_EQ(m.cycleEnd(), fake.clock.addSecs(40 * 60));
}

TEST_F(Cycling, WaitingForTheFirstCycleTheTimerShowsTheFirstMapAsNext) {
    auto& m = window({"a", "b"});
    tickAfter(m, 100);
    EXPECT_EQ(text(m.Text3), "a");
    EXPECT_EQ(text(m.Text6), "");
    EXPECT_TRUE(fake.starts.empty());
}

TEST_F(Cycling, ForceCyclingStartsTheNextMapAtOnceWithNewTimes) {
    auto& m = window({"a", "b", "c"});
    m.Command1_Click();
    fake.advance(5 * 60 * 1000);
    m.Command1_Click();
    ASSERT_EQ(fake.starts.size(), 2u);
    EXPECT_EQ(startedMap(1), "b");
    EXPECT_EQ(text(m.Text4), dateTimeText(fake.clock));
    EXPECT_EQ(m.cycleEnd(), fake.clock.addSecs(40 * 60));
    tickAfter(m, 35 * 60 * 1000); // the first cycle's end passes without a change
    EXPECT_EQ(fake.starts.size(), 2u);
}

TEST_F(Cycling, KillServerClosesItUntilTheCyclesEndTime) {
    auto& m = window({"a", "b"});
    m.Command1_Click();
    fake.closedWindows.clear();
    fake.windows = {{78, DedicatedServerTitle}};
    m.Command2_Click();
    EXPECT_EQ(fake.closedWindows, (std::vector<std::uint64_t>{78}));
    EXPECT_EQ(m.Command1->text().toStdString(), "start cycling");
    EXPECT_EQ(m.Text1->text().substr(m.Text1->text().size() - 19), "Forced Kill!...\r\n\r\n");
    tickAfter(m, 40 * 60 * 1000);
    ASSERT_EQ(fake.starts.size(), 2u);
    EXPECT_EQ(startedMap(1), "b");
    EXPECT_EQ(m.Command1->text().toStdString(), "force cycling");
}

TEST_F(Cycling, ExitClosesTheServerAndGoesBackToTheConfigurationWindow) {
    for (int tick : {1, 0}) {
        SCOPED_TRACE(tick);
        auto& m = window({"a"});
        m.Command1_Click();
        fake.closedWindows.clear();
        fake.windows = {{79, DedicatedServerTitle}};
        setCheckValue(m.Check1, tick);
        m.Command3_Click();
        EXPECT_EQ(fake.closedWindows.size(), tick ? 1u : 0u);
        EXPECT_FALSE(m.Timer1->isActive());
        EXPECT_EQ(serverModuleIfLoaded(), nullptr);
        ASSERT_NE(cfgServWindow(), nullptr);
        EXPECT_TRUE(cfgServWindow()->isVisible());
        resetModule();
        Cycling::SetUp();
    }
}

TEST_F(Cycling, AHandOverFoundOnExitRunsInARunningServerWindowOfItsOwn) {
    writeSet("next.ini", {"sv_name=Next", "sv_iscycling=true", "sv_advertkx3=false", "sv_addmap=x", "sv_addmap=y"});
    auto& old = window({"a", "b"});
    old.Command1_Click();
    handOver("next.ini");
    old.Command3_Click();
    EXPECT_FALSE(old.Timer1->isActive());
    frmServerModule* fresh = serverModuleIfLoaded();
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, &old);
    EXPECT_EQ(items(fresh->List1), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(startedMap(fake.starts.size() - 1), "x");
    EXPECT_EQ(cfgServWindow(), nullptr); // the hand-over's launch unloaded it again
    EXPECT_EQ(setting(), "NONE");
}

TEST_F(Cycling, TheTimerDoesNotRunAgainWhileABoxItOpenedIsUp) {
    auto& m = window({"a", "b", "c"});
    m.Command1_Click();
    fake.failingStarts[dir.file("Game.exe")] = 53;
    int nested = 0;
    fake.onBox = [&] {
        // A tick while the box is up, long after the new end: it must pass.
        if (nested++) return;
        fake.advance(41 * 60 * 1000);
        m.Timer1_Timer();
    };
    tickAfter(m, 40 * 60 * 1000);
    fake.onBox = nullptr;
    EXPECT_EQ(nested, 1);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(state().activeMap, "b");
    // The rotation goes on at the next free tick.
    fake.failingStarts.clear();
    m.Timer1_Timer();
    ASSERT_EQ(fake.starts.size(), 2u);
    EXPECT_EQ(startedMap(1), "c");
}

} // namespace
} // namespace kx::arenawarden
