// Per-user settings and the registry of the real platform, on real files in a temporary
// XDG_CONFIG_HOME, seen from this process and from a second one.
#include "platform/RealPlatform.h"
#include "Support.h"

#include <gtest/gtest.h>

#include "Hex.h"

#include <memory>

#include <sys/stat.h>

namespace kx {
namespace {

using test::EnvGuard;
using test::runHelper;

using test::hex;

class StoresTest : public ::testing::Test {
protected:
    test::TempDir tmp;
    EnvGuard config{"XDG_CONFIG_HOME", tmp.file("config")};
    std::unique_ptr<Platform> p = makeRealPlatform();

    std::string iniText(const std::string& app) { return test::readBytes(tmp.file("config/Korvex/" + app + ".ini")); }
    std::string regText() { return test::readBytes(tmp.file("config/Korvex/registry.reg")); }
};

TEST_F(StoresTest, SettingSavedByOneProcessIsReadByAnother) {
    // Values must come back byte for byte, whatever they hold.
    const std::vector<std::string> values = {
        "/games/Quell fort", "a=b=c", "  both ends  ", "C:\\Games\\Quellfort\\", "two\r\nlines", "lone\rcr",
        "caf\xe9 \x80", "[notasection]", ";notacomment", "\\n literally", "",
    };
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string key = "mine" + std::to_string(i);
        p->saveSetting("Korvex", "settings", key, values[i]);
        EXPECT_EQ(runHelper({"get", "Korvex", "settings", key}).out, hex(values[i])) << i;

        const std::string theirs = "theirs" + std::to_string(i);
        ASSERT_EQ(runHelper({"save", "Korvex", "settings", theirs, hex(values[i])}).exitCode, 0);
        EXPECT_EQ(p->getSetting("Korvex", "settings", theirs), values[i]) << i;
    }
}

TEST_F(StoresTest, SettingsFileReadsNaturally) {
    p->saveSetting("Korvex", "settings", "korvexdir", "/games/Quellfort");
    p->saveSetting("Korvex", "settings", "registereduser", "Player One");
    p->saveSetting("Korvex", "other", "k", "x=1");
    p->saveSetting("Korvex", "settings", "korvexdir", "/games/Q2"); // replaced in place
    p->saveSetting("Korvex", "settings", "note", "line1\nline2\\end");
    EXPECT_EQ(iniText("Korvex"),
              "[settings]\r\nkorvexdir=/games/Q2\r\nregistereduser=Player One\r\nnote=line1\\nline2\\\\end\r\n\r\n"
              "[other]\r\nk=x=1\r\n");
}

TEST_F(StoresTest, SettingsIgnoreCaseAndAreEmptyWhenNeverWritten) {
    EXPECT_EQ(p->getSetting("Korvex", "settings", "korvexdir"), ""); // no file at all
    p->saveSetting("Korvex", "Settings", "KorvexDir", "/g");
    EXPECT_EQ(p->getSetting("Korvex", "settings", "korvexdir"), "/g");
    p->saveSetting("Korvex", "SETTINGS", "KORVEXDIR", "/h");
    EXPECT_EQ(p->getSetting("Korvex", "settings", "KorvexDir"), "/h");
    EXPECT_EQ(iniText("Korvex"), "[Settings]\r\nKorvexDir=/h\r\n");
    EXPECT_EQ(p->getSetting("Korvex", "settings", "missing"), "");
    EXPECT_EQ(p->getSetting("Korvex", "nosection", "korvexdir"), "");
    EXPECT_EQ(p->getSetting("LevelForge", "settings", "korvexdir"), ""); // one file per application
}

TEST_F(StoresTest, HandEditedLinesAreKept) {
    ::mkdir(tmp.file("config").c_str(), 0700);
    ::mkdir(tmp.file("config/Korvex").c_str(), 0700);
    test::writeBytes(tmp.file("config/Korvex/Korvex.ini"), "; my notes\n[settings]\nwalkthroughdone=true\njunk line\n");
    EXPECT_EQ(p->getSetting("Korvex", "settings", "walkthroughdone"), "true");
    p->saveSetting("Korvex", "settings", "dsmloadserverset", "NONE");
    EXPECT_EQ(iniText("Korvex"), "; my notes\r\n[settings]\r\nwalkthroughdone=true\r\njunk line\r\ndsmloadserverset=NONE\r\n");
}

TEST_F(StoresTest, ConcurrentSavesLoseNothing) {
    // Two processes rewrite the same file at once; the lock keeps every save.
    auto a = test::startHelper({"saveMany", "Korvex", "settings", "a", "25"});
    auto b = test::startHelper({"saveMany", "Korvex", "settings", "b", "25"});
    ASSERT_TRUE(a->waitForFinished(20000));
    ASSERT_TRUE(b->waitForFinished(20000));
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(p->getSetting("Korvex", "settings", "a" + std::to_string(i)), "v" + std::to_string(i));
        EXPECT_EQ(p->getSetting("Korvex", "settings", "b" + std::to_string(i)), "v" + std::to_string(i));
    }
}

TEST_F(StoresTest, SettingsFolderDefaultsToHomeConfig) {
    EnvGuard noXdg("XDG_CONFIG_HOME", std::nullopt);
    EnvGuard home("HOME", tmp.file("home"));
    p->saveSetting("Korvex", "settings", "k", "v");
    EXPECT_EQ(test::readBytes(tmp.file("home/.config/Korvex/Korvex.ini")), "[settings]\r\nk=v\r\n");
}

TEST_F(StoresTest, RegistryValuesSurviveTheirFile) {
    RegKey k = 0;
    ASSERT_EQ(p->regCreateKey(Hive::LocalMachine, "Software\\Quellfort Studios\\Game", k), reg::Success);
    EXPECT_EQ(p->regSetString(k, "InstallPath", "C:\\Games\\Quell \"fort\""), reg::Success);
    EXPECT_EQ(p->regSetDword(k, "Count", 42), reg::Success);
    EXPECT_EQ(p->regSetString(k, "", "default text"), reg::Success);
    EXPECT_EQ(p->regCloseKey(k), reg::Success);

    EXPECT_EQ(regText(), "Windows Registry Editor Version 5.00\r\n\r\n"
                         "[HKEY_LOCAL_MACHINE\\Software\\Quellfort Studios\\Game]\r\n"
                         "\"InstallPath\"=\"C:\\\\Games\\\\Quell \\\"fort\\\"\"\r\n"
                         "\"Count\"=dword:0000002a\r\n"
                         "@=\"default text\"\r\n");

    auto fresh = makeRealPlatform();
    ASSERT_EQ(fresh->regOpenKey(Hive::LocalMachine, "SOFTWARE\\quellfort studios\\GAME\\", k), reg::Success);
    std::uint32_t type = 0;
    std::string data;
    ASSERT_EQ(fresh->regQueryValue(k, "installpath", type, data), reg::Success);
    EXPECT_EQ(type, reg::Sz);
    EXPECT_EQ(data, "C:\\Games\\Quell \"fort\"");
    ASSERT_EQ(fresh->regQueryValue(k, "COUNT", type, data), reg::Success);
    EXPECT_EQ(type, reg::Dword);
    EXPECT_EQ(data, std::string("\x2a\0\0\0", 4));
    ASSERT_EQ(fresh->regQueryValue(k, "", type, data), reg::Success);
    EXPECT_EQ(data, "default text");

    // Overwriting keeps one line and the first spelling of the name.
    EXPECT_EQ(fresh->regSetDword(k, "COUNT", 0xDEADBEEF), reg::Success);
    ASSERT_EQ(p->regOpenKey(Hive::LocalMachine, "Software\\Quellfort Studios\\Game", k), reg::Success);
    ASSERT_EQ(p->regQueryValue(k, "count", type, data), reg::Success);
    EXPECT_EQ(data, std::string("\xef\xbe\xad\xde", 4));
    EXPECT_NE(regText().find("\"Count\"=dword:deadbeef\r\n"), std::string::npos);
    EXPECT_EQ(regText().find("0000002a"), std::string::npos);
}

TEST_F(StoresTest, RegistryIsEmptyByDefaultAndChecksHandles) {
    RegKey k = 0;
    EXPECT_EQ(p->regOpenKey(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", k), reg::FileNotFound);
    std::uint32_t type = 0;
    std::string data;
    EXPECT_EQ(p->regQueryValue(12345, "PATH", type, data), reg::InvalidHandle);
    EXPECT_EQ(p->regSetString(12345, "PATH", "x"), reg::InvalidHandle);
    EXPECT_EQ(p->regCloseKey(12345), reg::InvalidHandle);

    ASSERT_EQ(p->regCreateKey(Hive::CurrentUser, "Software\\A\\B\\C", k), reg::Success);
    EXPECT_EQ(p->regQueryValue(k, "nothing", type, data), reg::FileNotFound);
    EXPECT_EQ(p->regCloseKey(k), reg::Success);
    EXPECT_EQ(p->regCloseKey(k), reg::InvalidHandle); // closed once only
    // Parents are implied by a child; other hives are separate.
    EXPECT_EQ(p->regOpenKey(Hive::CurrentUser, "software\\a", k), reg::Success);
    EXPECT_EQ(p->regOpenKey(Hive::LocalMachine, "Software\\A", k), reg::FileNotFound);
    EXPECT_EQ(p->regOpenKey(Hive::CurrentUser, "Software\\AB", k), reg::FileNotFound);
}

TEST_F(StoresTest, RegistryReadsAFileWrittenByHand) {
    ::mkdir(tmp.file("config").c_str(), 0700);
    ::mkdir(tmp.file("config/Korvex").c_str(), 0700);
    test::writeBytes(tmp.file("config/Korvex/registry.reg"),
                     "Windows Registry Editor Version 5.00\n\n; tools\n"
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                     "\"PATH\"=\"/opt/tools/msinfo\"\n"
                     "\"Blob\"=hex:01,02,\\\n  03\n"
                     "\"Gone\"=\"x\"\n\"Gone\"=-\n");
    RegKey k = 0;
    ASSERT_EQ(p->regOpenKey(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", k), reg::Success);
    std::uint32_t type = 0;
    std::string data;
    ASSERT_EQ(p->regQueryValue(k, "Path", type, data), reg::Success);
    EXPECT_EQ(data, "/opt/tools/msinfo");
    ASSERT_EQ(p->regQueryValue(k, "blob", type, data), reg::Success);
    EXPECT_EQ(type, 3u);
    EXPECT_EQ(data, "\x01\x02\x03");
    EXPECT_EQ(p->regQueryValue(k, "Gone", type, data), reg::FileNotFound);
    // A change keeps the comment and the continued value as they were.
    EXPECT_EQ(p->regSetString(k, "PATH", "/opt/other"), reg::Success);
    EXPECT_NE(regText().find("; tools\r\n"), std::string::npos);
    EXPECT_NE(regText().find("\"Blob\"=hex:01,02,\\\r\n  03\r\n"), std::string::npos);
    ASSERT_EQ(p->regQueryValue(k, "PATH", type, data), reg::Success);
    EXPECT_EQ(data, "/opt/other");
}

TEST_F(StoresTest, AHexContinuationEndsWithItsSection) {
    ::mkdir(tmp.file("config").c_str(), 0700);
    ::mkdir(tmp.file("config/Korvex").c_str(), 0700);
    // The last hex line of a key asks for a continuation that never comes.
    test::writeBytes(tmp.file("config/Korvex/registry.reg"),
                     "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"Blob\"=hex:01,02,\\\r\n"
                     "[HKEY_CURRENT_USER\\B]\r\n\"In\"=\"b\"\r\n");
    RegKey a = 0, b = 0;
    ASSERT_EQ(p->regOpenKey(Hive::CurrentUser, "A", a), reg::Success);
    ASSERT_EQ(p->regOpenKey(Hive::CurrentUser, "B", b), reg::Success);
    std::uint32_t type = 0;
    std::string data;
    // Values written after it, in its section and in the next, read back.
    EXPECT_EQ(p->regSetString(a, "After", "x"), reg::Success);
    EXPECT_EQ(p->regSetString(b, "Next", "y"), reg::Success);
    ASSERT_EQ(p->regQueryValue(a, "Blob", type, data), reg::Success);
    EXPECT_EQ(data, "\x01\x02");
    ASSERT_EQ(p->regQueryValue(a, "After", type, data), reg::Success);
    EXPECT_EQ(data, "x");
    ASSERT_EQ(p->regQueryValue(b, "In", type, data), reg::Success);
    EXPECT_EQ(data, "b");
    ASSERT_EQ(p->regQueryValue(b, "Next", type, data), reg::Success);
    EXPECT_EQ(data, "y");
}

} // namespace
} // namespace kx
