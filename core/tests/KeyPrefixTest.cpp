#include "core/KeyPrefix.h"

#include <gtest/gtest.h>

using namespace kx;

namespace {
const std::vector<std::string> kCfgKeys = {"playername", "host-gamen", "doautoexec"};
}

TEST(KeyPrefix, TenCharacterKeysValueFromColumnTwelve) {
    struct Case {
        std::vector<std::string> lines;
        std::map<std::string, std::string> values;
    } cases[] = {
        {{"playername=Bob"}, {{"playername", "Bob"}}},
        {{"playername=  Bob  "}, {{"playername", "  Bob  "}}},      // untrimmed
        {{"playernameXBob"}, {{"playername", "Bob"}}},              // character 11 not looked at
        {{"playername=a", "playername=b"}, {{"playername", "b"}}}, // last line wins
        {{"PlayerName=x"}, {}},                                     // case counts
        {{"playername"}, {{"playername", ""}}},                     // short line
        {{"playername="}, {{"playername", ""}}},
        {{"playernam"}, {}},
        {{"host-gamen=a=b"}, {{"host-gamen", "a=b"}}},
        {{"//playername=x", "", ";c"}, {}},
        {{std::string("playername=\0\xff", 13)}, {{"playername", std::string("\0\xff", 2)}}},
    };
    for (const auto& c : cases) EXPECT_EQ(readKeyLines(c.lines, keyRule(10), kCfgKeys), c.values) << c.lines[0];
}

TEST(KeyPrefix, ElevenCharactersIncludingTheEqualsSign) {
    const KeyPrefixRule rule{11, 11};
    const std::vector<std::string> keys = {"playername=", "host-teama="};
    EXPECT_EQ(readKeyLines({"playername=Al", "playernameXAl", "host-teama= 2"}, rule, keys),
              (std::map<std::string, std::string>{{"playername=", "Al"}, {"host-teama=", " 2"}}));
}

TEST(KeyPrefix, IgnoringCaseAndShortPrefixes) {
    const std::vector<std::string> keys = {"authorn", "version"};
    EXPECT_EQ(readKeyLines({"AUTHORN=me", "Version=1.0", "versio"}, keyRule(7, true), keys),
              (std::map<std::string, std::string>{{"authorn", "me"}, {"version", "1.0"}}));
    EXPECT_TRUE(readKeyLines({"AUTHORN=me"}, keyRule(7, false), keys).empty());
}

TEST(KeyPrefix, EveryMatchInFileOrder) {
    std::vector<std::pair<size_t, std::string>> seen;
    forEachKeyLine({"playername=a", "x", "doautoexec=true", "playername=b"}, keyRule(10), kCfgKeys,
                   [&](size_t k, const std::string& v) { seen.emplace_back(k, v); });
    EXPECT_EQ(seen, (std::vector<std::pair<size_t, std::string>>{{0, "a"}, {2, "true"}, {0, "b"}}));
}

TEST(KeyPrefix, HugeAndBinaryInputDoesNotBreak) {
    std::vector<std::string> lines = {std::string(1 << 20, '\xff'), std::string(1, '\0'), "",
                                      "playername=" + std::string(1 << 20, 'z')};
    const auto v = readKeyLines(lines, keyRule(10), kCfgKeys);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v.at("playername").size(), size_t(1 << 20));
}
