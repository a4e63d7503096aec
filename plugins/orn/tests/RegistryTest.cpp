// The registry wrapper against the real store file (registry.reg below XDG_CONFIG_HOME).
#include "WindowsRegistry.h"

#include "core/Files.h"
#include "core/Text.h"
#include "platform/RealPlatform.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace kx::orn {
namespace {

class RealRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        const char* old = std::getenv("XDG_CONFIG_HOME");
        if (old) saved = old;
        hadOld = old != nullptr;
        setenv("XDG_CONFIG_HOME", tmp.path().toLocal8Bit().constData(), 1);
        real = makeRealPlatform();
        previous = setPlatform(real.get());
        makeDir(tmp.path().toStdString() + "/Korvex");
    }
    void TearDown() override {
        setPlatform(previous);
        if (hadOld) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
        else unsetenv("XDG_CONFIG_HOME");
    }
    std::string file() const { return tmp.path().toStdString() + "/Korvex/registry.reg"; }
    void writeStore(const std::vector<std::string>& lines) { writeLinesAtomic(file(), lines); }

    QTemporaryDir tmp;
    std::string saved;
    bool hadOld = false;
    std::unique_ptr<Platform> real;
    Platform* previous = nullptr;
    WindowsRegistry registry;
};

TEST_F(RealRegistry, ReadsStringsAndNumbersAndNeverOverwrites) {
    const std::vector<std::string> store = {
        "Windows Registry Editor Version 5.00",
        "",
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Doravuzu\\MapMaker]",
        "\"InstallPath\"=\"/games/quellfort\"",
        "\"Build\"=dword:0000012a",
        "\"Expand\"=hex(2):2f,00,78,00,00,00",
        "\"Nul\"=\"\\0\"",
        "",
        "[HKEY_CURRENT_USER\\Software\\Other]",
        "\"Folder\"=\"/home/x\"",
    };
    writeStore(store);
    const std::string before = readFile(file());

    struct Case {
        const char* what;
        std::uint32_t hive;
        const char* key;
        const char* value;
        RegVariant expected;
    };
    const Case cases[] = {
        {"string", HKEY_LOCAL_MACHINE, "software\\doravuzu\\mapmaker", "installpath", std::string("/games/quellfort")},
        {"number", HKEY_LOCAL_MACHINE, "SOFTWARE\\Doravuzu\\MapMaker", "Build", std::int32_t(298)},
        {"expandable string is not read", HKEY_LOCAL_MACHINE, "SOFTWARE\\Doravuzu\\MapMaker", "Expand", std::string()},
        {"only the terminating zero", HKEY_LOCAL_MACHINE, "SOFTWARE\\Doravuzu\\MapMaker", "Nul", std::string()},
        {"other hive", HKEY_CURRENT_USER, "Software\\Other", "Folder", std::string("/home/x")},
        // Missing under HKEY_CURRENT_USER: the HKEY_LOCAL_MACHINE value of that name stays.
        {"key missing under another hive", HKEY_CURRENT_USER, "SOFTWARE\\Doravuzu\\MapMaker", "InstallPath",
         std::string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegVariant v = std::string();
        registry.QueryValue(c.hive, c.key, c.value, v, reg::Sz);
        EXPECT_EQ(v, c.expected);
    }
    EXPECT_EQ(readFile(file()), before); // nothing that was there was replaced or added
}

TEST_F(RealRegistry, AddsAMissingKeyAndValueUnderTheLocalMachineOnly) {
    writeStore({"Windows Registry Editor Version 5.00", "", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept]",
                "\"Path\"=\"/kept\""});
    RegVariant v = std::string();
    registry.QueryValue(HKEY_USERS, "Software\\New\\Tool", "Path", v, reg::Sz);
    EXPECT_EQ(v, RegVariant(std::string()));
    registry.QueryValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kept", "Other", v, reg::Sz);
    EXPECT_EQ(splitLines(readFile(file())),
              (std::vector<std::string>{"Windows Registry Editor Version 5.00", "", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept]",
                                        "\"Path\"=\"/kept\"", "\"Other\"=\"\"", "",
                                        "[HKEY_LOCAL_MACHINE\\Software\\New\\Tool]", "\"Path\"=\"\""}));
    RegKey k = 0;
    EXPECT_NE(platform().regOpenKey(Hive::Users, "Software\\New\\Tool", k), reg::Success);
}

TEST_F(RealRegistry, SetValueExWritesTypesOneAndFourOnly) {
    RegKey k = 0;
    ASSERT_EQ(platform().regCreateKey(Hive::LocalMachine, "SOFTWARE\\T", k), reg::Success);
    EXPECT_EQ(registry.SetValueEx(k, "S", reg::Sz, std::string("a\\b")), reg::Success);
    EXPECT_EQ(registry.SetValueEx(k, "D", reg::Dword, std::string(" 42")), reg::Success);
    EXPECT_EQ(registry.SetValueEx(k, "X", 3, std::string("zz")), 0);
    RegVariant s, d, x = std::string("untouched");
    EXPECT_EQ(registry.QueryValueEx(k, "S", s), reg::Success);
    EXPECT_EQ(registry.QueryValueEx(k, "D", d), reg::Success);
    EXPECT_NE(registry.QueryValueEx(k, "X", x), reg::Success);
    platform().regCloseKey(k);
    EXPECT_EQ(s, RegVariant(std::string("a\\b")));
    EXPECT_EQ(d, RegVariant(std::int32_t(42)));
    EXPECT_EQ(x, RegVariant(std::string("untouched")));
}

} // namespace
} // namespace kx::orn
