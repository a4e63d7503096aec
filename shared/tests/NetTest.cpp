// Address checks and the host-name resolver against the recording platform.
#include "platform/FakePlatform.h"
#include "core/RunError.h"
#include "shared/net/Addresses.h"
#include "platform/RealPlatform.h"
#include "shared/net/HostNames.h"
#include "shared/testing/GameDir.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

namespace kx {
namespace {

struct AddressCase {
    std::string text;
    bool valid;
};

TEST(ValidateIP, CountsCharactersOnly) {
    const AddressCase cases[] = {
        {"1.2.3.4:24711", true},
        {"192.168.0.10:24711", true},
        {"999.1.1.1:24711", true}, // no value ranges
        {":1.2.3.", true},         // no positions
        {"1.2.3.4:", true},
        {"1.2.3.4", false},        // no port
        {"1.2.3.4:5:6", false},
        {"1.2.3.4 :24711", false}, // a blank is an "other"
        {"1.2.3.a:24711", false},
        {"1.2.3:24711", false},
        {"1.2.3.4.5:24711", false},
        {"xxx.xxx.xxx.xxx:24711", false},
        {"dns&host:24711", false},
        {"DNS&1.2.3.4:24711", false},
        {"", false},
        {"1.2.3.4:24711\xB9", false}, // a byte above 127 is not a digit
        {"1.2.3.4:5;", false},        // ";" (59) lies just above the allowed range
    };
    for (const auto& c : cases) EXPECT_EQ(validateIP(c.text), c.valid) << c.text;
}

TEST(StripPort, TextBeforeLastColon) {
    const std::pair<std::string, std::string> cases[] = {
        {"1.2.3.4:24711", "1.2.3.4"},
        {"1.2.3.4:", "1.2.3.4"},
        {":1.2.3.", ""},
        {"a:b:c", "a:b"},
        {"1.2.3.4", ""},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(stripPort(in), out) << in;
}

TEST(DottedAddress, BytesInStoredOrderWithoutPadding) {
    EXPECT_EQ(dottedAddress(std::string("\xC0\xA8\x00\x0A", 4)), "192.168.0.10");
    EXPECT_EQ(dottedAddress(std::string("\x0A\x00\x00\x01", 4)), "10.0.0.1");
    EXPECT_EQ(dottedAddress(std::string("\xFF\x80\x7F\x81", 4)), "255.128.127.129");
}

TEST(QueryReachable, AsksThePlatformForTheAddress) {
    FakePlatform fake;
    fake.reachable["192.0.2.10"] = true;
    EXPECT_EQ(queryReachable("192.0.2.10"), 1);
    EXPECT_EQ(queryReachable("192.0.2.11"), 0);
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"reachable(192.0.2.10)", "reachable(192.0.2.11)"}));
}

TEST(HostNameToAddress, FirstAddressOfTheList) {
    FakePlatform fake;
    fake.dns["multi.example"] = {"10.0.0.1", "192.0.2.7"};
    EXPECT_EQ(hostNameToAddress("multi.example"), "10.0.0.1");
    EXPECT_EQ(hostNameToAddress("unknown.example"), "");
    EXPECT_TRUE(fake.boxes.empty());
}

TEST(HostNameToAddress, EmptyNameIsNotLookedUp) {
    FakePlatform fake;
    fake.dns[""] = {"127.0.0.1"};
    EXPECT_EQ(hostNameToAddress(""), "");
    EXPECT_TRUE(fake.calls.empty());
}

TEST(HostNameToAddress, AnswerThatIsNoIPv4TextIsNotFound) {
    FakePlatform fake;
    fake.dns["odd"] = {"::1"};
    fake.dns["long"] = {"1.2.3.4.5"};
    EXPECT_EQ(hostNameToAddress("odd"), "");
    EXPECT_EQ(hostNameToAddress("long"), "");
}

TEST(ResolveDNS, StartsLooksUpAndStops) {
    FakePlatform fake;
    fake.dns["Host.Example"] = {"192.0.2.10"};
    EXPECT_EQ(resolveDNS("Host.Example"), "192.0.2.10");
    EXPECT_EQ(fake.calls,
              (std::vector<std::string>{"socketsStart", "resolve(Host.Example)", "socketsStop"}));
}

TEST(ResolveDNS, FailedStopWarnsAndGoesOn) {
    FakePlatform fake;
    fake.setProgramName("mod_seatfinder");
    fake.socketsStopResult = 10093;
    fake.dns["h"] = {"192.0.2.1"};
    EXPECT_EQ(resolveDNS("h"), "192.0.2.1");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Windows Sockets error occurred in Cleanup.");
    EXPECT_EQ(fake.boxes[0].style, 48);
    EXPECT_EQ(fake.boxes[0].title, "mod_seatfinder");
}

TEST(ResolveDNS, FailedStartShowsBoxAndEnds) {
    FakePlatform fake;
    fake.socketsStartResult = 10091;
    EXPECT_THROW(resolveDNS("h"), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Windows Sockets for 32 bit Windows is not successfully responding.");
    EXPECT_EQ(fake.boxes[0].style, 16);
    EXPECT_EQ(fake.boxes[0].title, "Error.");
    EXPECT_EQ(fake.calls.back(), "end(0)");
    for (const auto& c : fake.calls) EXPECT_NE(c.rfind("resolve(", 0), 0u) << c;
}

// The real look-up keeps the host entry's order: getaddrinfo would put the loopback address
// first (RFC 6724). A hosts file of our own is laid over /etc/hosts in a private mount
// namespace, where this test runs again as the child.
TEST(RealHostLookup, KeepsTheHostEntrysOrder) {
    const std::vector<std::string> order = {"192.168.1.1", "10.9.8.7", "8.8.4.4", "127.0.0.9"};
    if (qEnvironmentVariableIsSet("KX_HOSTS_CHILD")) {
        auto real = makeRealPlatform();
        EXPECT_EQ(real->resolveIPv4("multi.korvex.test"), order);
        EXPECT_EQ(real->resolveIPv4("10.1.2.3"), std::vector<std::string>{"10.1.2.3"});
        EXPECT_EQ(real->resolveIPv4("absent.korvex.test"), std::vector<std::string>{});
        return;
    }
    QProcess probe;
    probe.start("unshare", {"-rm", "true"});
    if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        GTEST_SKIP() << "no private mount namespace here (unshare -rm)";

    test::GameDir g;
    std::string hosts;
    for (const auto& a : order) hosts += a + " multi.korvex.test\n";
    g.write("hosts", hosts);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KX_HOSTS_CHILD", "1");
    child.setProcessEnvironment(env);
    child.start("unshare", {"-rm", "sh", "-c", "mount --bind \"$1\" /etc/hosts && exec \"$2\" --gtest_filter=RealHostLookup.*",
                            "sh", QString::fromStdString(g.file("hosts")), QCoreApplication::applicationFilePath()});
    ASSERT_TRUE(child.waitForFinished(30000));
    const std::string out = child.readAllStandardOutput().toStdString();
    EXPECT_EQ(child.exitCode(), 0) << out << child.readAllStandardError().toStdString();
    EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << out;
}

} // namespace
} // namespace kx
