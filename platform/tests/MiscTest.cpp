// The smaller services of the real platform: network, clock, current directory, drives, and
// what happens without an X server or a tray.
#include "platform/RealPlatform.h"
#include "core/RunError.h"
#include "Support.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

namespace kx {
namespace {

using test::EnvGuard;

class Misc : public ::testing::Test {
protected:
    std::unique_ptr<Platform> p = makeRealPlatform();
};

TEST_F(Misc, ReachabilityAsksOnlyStrictAddressesWithinThreeSeconds) {
    struct Case {
        const char* address;
        bool reachable;
    } cases[] = {
        {"127.0.0.1", true},   {"999.1.1.1", false}, {"1.2.3", false},       {"1.2.3.4.5", false},
        {" 127.0.0.1", false}, {"127.0.0.1 ", false}, {"localhost", false},  {"127..0.1", false},
        {"1270.0.0.1", false}, {"127.0.0.-1", false}, {"127.0.0.1:24711", false}, {"", false},
        {"0x7f.0.0.1", false}, {"127.0.0.256", false},
    };
    for (const auto& c : cases) {
        QElapsedTimer t;
        t.start();
        EXPECT_EQ(p->isReachable(c.address), c.reachable) << c.address;
        EXPECT_LT(t.elapsed(), 3000) << c.address;
    }
}

TEST_F(Misc, NamesResolveToOrderedIPv4Texts) {
    const auto local = p->resolveIPv4("localhost");
    ASSERT_FALSE(local.empty());
    EXPECT_EQ(local[0], "127.0.0.1");
    EXPECT_EQ(std::set<std::string>(local.begin(), local.end()).size(), local.size()); // no repeats
    EXPECT_TRUE(p->resolveIPv4("").empty());
    EXPECT_TRUE(p->resolveIPv4("no-such-host.invalid").empty());
    EXPECT_EQ(p->resolveIPv4("10.1.2.3"), std::vector<std::string>{"10.1.2.3"});
    EXPECT_EQ(p->socketsStart(), 0);
    EXPECT_EQ(p->socketsStop(), 0);
}

TEST_F(Misc, ComputerNameIsTheShortHostName) {
    char host[256] = {0};
    ::gethostname(host, sizeof host - 1);
    const std::string full = host;
    const std::string name = p->computerName();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 15u);
    EXPECT_EQ(full.substr(0, name.size()), name);
}

TEST_F(Misc, ClockSleepAndRandom) {
    EXPECT_LE(std::llabs(p->now().msecsTo(QDateTime::currentDateTime())), 1000);
    QElapsedTimer t;
    t.start();
    p->sleepMs(150);
    EXPECT_GE(t.elapsed(), 150);
    p->sleepMs(-5);
    p->doEvents();
    std::set<double> seen;
    for (int i = 0; i < 10000; ++i) {
        const double r = p->random();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        seen.insert(r);
    }
    EXPECT_GT(seen.size(), 9990u);
}

TEST_F(Misc, CurrentDirectoryChangesOrRaises76) {
    test::TempDir tmp;
    const std::string before = p->currentDir();
    const std::string folder = tmp.file("game dir");
    ::mkdir(folder.c_str(), 0755);
    p->setCurrentDir(folder);
    EXPECT_EQ(p->currentDir(), folder);
    test::writeBytes(tmp.file("file"), "x");
    for (const std::string& bad : {tmp.file("missing"), tmp.file("missing/deeper"), tmp.file("file"), std::string()}) {
        try {
            p->setCurrentDir(bad);
            ADD_FAILURE() << bad;
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), err::PathNotFound) << bad;
        }
    }
    EXPECT_EQ(p->currentDir(), folder);
    p->setCurrentDir(before);
}

TEST_F(Misc, DrivesStartAtRootWithoutRepeats) {
    const auto d = p->drives();
    ASSERT_FALSE(d.empty());
    EXPECT_EQ(d[0], "/");
    EXPECT_EQ(std::set<std::string>(d.begin(), d.end()).size(), d.size());
    for (const auto& root : d) {
        EXPECT_NE(root.rfind("/proc", 0), 0u) << root;
        EXPECT_NE(root.rfind("/sys", 0), 0u) << root;
    }
}

TEST_F(Misc, WithoutAnXServerThereAreNoWindows) {
    for (const std::optional<std::string>& display : {std::optional<std::string>(), std::optional<std::string>(":987")}) {
        EnvGuard d("DISPLAY", display);
        EXPECT_TRUE(p->topWindows().empty());
        EXPECT_FALSE(p->closeWindow(0x400001));
    }
}

TEST_F(Misc, OffscreenHasNoTray) {
    if (QGuiApplication::platformName() != "offscreen") GTEST_SKIP() << "runs offscreen";
    int got = 0;
    EXPECT_FALSE(p->trayAdd("/nonexistent.ico", "Korvex", [&](int m) { got = m; }));
    p->trayRemove();
    EXPECT_EQ(got, 0);
}

} // namespace
} // namespace kx
