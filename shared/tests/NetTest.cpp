// Address checks and the host-name resolver against the recording platform.
#include "platform/FakePlatform.h"
#include "core/RunError.h"
#include "shared/net/Addresses.h"
#include "shared/net/HostNames.h"

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

} // namespace
} // namespace kx
