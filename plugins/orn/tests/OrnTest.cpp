// plg_orn's flow with FakePlatform on a temporary game directory: the command line, the
// descriptor look-up, the exact log of a run and the orderly ends.
#include "OrnFunctions.h"
#include "Program.h"

#include "core/Files.h"
#include "core/Text.h"
#include "platform/FakePlatform.h"
#include "shared/testing/GameDir.h"

#include <QDir>
#include <QLocale>

#include <gtest/gtest.h>

namespace kx::orn {
namespace {

TEST(OrnCommandLine, SplitsAtTheLastSemicolon) {
    struct Case {
        const char* line;
        const char* function;
        const char* dir;
    };
    const Case cases[] = {
        {"mapper; D:\\Game", "mapper", "D:\\Game"},
        {"a;b; D:\\Game", "a;b", "D:\\Game"},
        {"mapmaker;x/tmp/Demo Game", "mapmaker", "/tmp/Demo Game"}, // the character after ";" goes, whatever it is
        {"mapper;", "mapper", ""},
        {"mapper; ", "mapper", ""},
        {"; /game", "", "/game"},
        {"no semicolon", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto parts = splitCommandLine(c.line);
        EXPECT_EQ(parts.function, c.function);
        EXPECT_EQ(parts.dir, c.dir);
    }
}

TEST(OrnCommandLine, EmptyOrUnsplittableEndsWithItsBoxAndNoLog) {
    test::GameDir game;
    struct Case {
        std::string line, box;
    };
    const Case cases[] = {
        {"", "Execution not possible. No Function Specified.\r"},
        {"mapper " + game.path(), "Execution not possible. Error while Parsing Function or Korvex with ';'.\r"},
        {"mapper;", "Execution not possible. Error while Parsing Function or Korvex with ';'.\r"},
        {"; " + game.path(), "Execution not possible. Error while Parsing Function or Korvex with ';'.\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        FakePlatform fake;
        Program p;
        EXPECT_THROW(p.Main(c.line), ProgramEnded);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, c.box);
        EXPECT_EQ(fake.boxes[0].style, 16);
        EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
        EXPECT_TRUE(fake.starts.empty());
        EXPECT_FALSE(game.exists("korvex.wfd/logs/plg_orn.log"));
    }
}

const std::vector<std::string> kDescriptors = {
    "; comment",
    "[other]",
    "HKEY_USERS",
    "[mapper]", // a descriptor for "mapper", but the four lines of "other" when that is looked up
    "x",
    "y",
    "[MAPPER]",
    "HKEY_CURRENT_USER",
    "SOFTWARE\\First",
    "Path",
    "first.exe",
    "",
    "[Mapper]",
    "hkey_local_machine",
    "[SOFTWARE\\Second]", // taken as it stands, not as a descriptor
    "Path",
    "second.exe",
    "[mapper] ",
    "[",
};

TEST(OrnDescriptors, CaseIgnoredLastCompleteMatchWins) {
    struct Case {
        const char* function;
        bool matched;
        const char* tree;
        const char* keyName;
        const char* exe;
    };
    const Case cases[] = {
        {"mapper", true, "hkey_local_machine", "[SOFTWARE\\Second]", "second.exe"},
        {"MaPpEr", true, "hkey_local_machine", "[SOFTWARE\\Second]", "second.exe"},
        {"other", true, "HKEY_USERS", "[mapper]", "y"}, // four lines whatever they hold
        {"mapper]", false, "", "", ""}, // "[mapper] " loses its blank, not its "]"; then cut off by the end
        {"software\\second", true, "Path", "second.exe", "["}, // a descriptor where no match swallowed it
        {"nothing", false, "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.function);
        const Descriptor d = findDescriptor(kDescriptors, c.function);
        EXPECT_EQ(d.matched, c.matched);
        EXPECT_EQ(d.tree, c.tree);
        EXPECT_EQ(d.keyName, c.keyName);
        EXPECT_EQ(d.exe, c.exe);
    }
}

// "[x" and "[]" have an empty name; an empty function name must still start nothing.
TEST(OrnDescriptors, EmptyFunctionNameMatchesNoDescriptor) {
    for (const char* head : {"[x", "[]", "["}) {
        SCOPED_TRACE(head);
        const std::vector<std::string> lines{head, "HKEY_LOCAL_MACHINE", "SOFTWARE\\X", "Path", "x.exe"};
        EXPECT_FALSE(findDescriptor(lines, "").matched);
    }
}

// The log's date keeps the regional order and separators, with Latin digits in every locale.
TEST(OrnLog, DateHasLatinDigitsInEveryLocale) {
    const QDate day(2026, 12, 10);
    for (const char* name : {"fa_IR", "ar_EG", "bn_BD", "de_DE", "en_US"}) {
        SCOPED_TRACE(name);
        const std::string d = shortDate(day, QLocale(QString::fromLatin1(name)));
        EXPECT_EQ(d.find('?'), std::string::npos) << d;
        EXPECT_NE(d.find("10"), std::string::npos) << d;
        EXPECT_NE(d.find("12"), std::string::npos) << d;
    }
    EXPECT_EQ(shortDate(day, QLocale(QLocale::German, QLocale::Germany)), "10.12.26");
    EXPECT_EQ(shortDate(day, QLocale(QLocale::Persian, QLocale::Iran)), "2026/12/10");
    EXPECT_EQ(shortDate(day, QLocale(QLocale::Arabic, QLocale::Egypt)), "10/12/2026");
}

TEST(OrnDescriptors, HiveNamesInAnyCase) {
    EXPECT_EQ(hiveHandle("HKEY_CLASSES_ROOT"), 0x80000000u);
    EXPECT_EQ(hiveHandle("hkey_current_user"), 0x80000001u);
    EXPECT_EQ(hiveHandle("Hkey_Local_Machine"), 0x80000002u);
    EXPECT_EQ(hiveHandle("HKEY_USERS"), 0x80000003u);
    EXPECT_EQ(hiveHandle("HKLM"), 0u);
    EXPECT_EQ(hiveHandle(" HKEY_USERS"), 0u);
    EXPECT_EQ(hiveHandle(""), 0u);
}

class OrnRun : public ::testing::Test {
protected:
    void SetUp() override {
        game.writeLines("korvex.wfd/config/orn_functions.ini",
                        {"; tools", "[mapmaker]", "HKEY_LOCAL_MACHINE", "SOFTWARE\\Doravuzu\\MapMaker", "InstallPath",
                         "mapmaker.exe"});
        game.touchProgram("tools/mapmaker");
    }
    void setFolder(const std::string& value, std::uint32_t type = reg::Sz) {
        fake.registry["HKEY_LOCAL_MACHINE|software\\doravuzu\\mapmaker"].values["installpath"] = {type, value};
    }
    std::vector<std::string> run(const std::string& commandLine) {
        Program p;
        EXPECT_THROW(p.Main(commandLine), ProgramEnded);
        return splitLines(game.read("korvex.wfd/logs/plg_orn.log"));
    }
    std::string startLine() const {
        return "ORN PLUGIN STARTED.  12:00:00 :: " + shortDate(fake.clock.date());
    }
    std::vector<std::string> head() const {
        return {startLine(),
                "Calling SubFunction ReadCLINE()",
                "Recurse to KorvexDir",
                "Beginning Fileparsing. SubFunction FunctionKeys()",
                ">> Opening " + game.path() + "/korvex.wfd/config/orn_functions.ini.",
                ">> Descriptor found. Raw: '[mapmaker]'",
                ">> Descriptor applies query. Retreiveing Struct.",
                ">>> $RetreivedTree: HKEY_LOCAL_MACHINE",
                ">>> $RetreivedKeyName: SOFTWARE\\Doravuzu\\MapMaker",
                ">>> $RetreivedKey: InstallPath",
                ">>> $RetreivedExe: mapmaker.exe",
                ">> Start Defining Registry Tree. hRetreivedTree as Long.",
                ">> Treetype successful converted to Long.",
                "Executing Class WindowsRegistry.QueryValue with parsed data from File",
                "Executing CheckRegPath() with Retreived Struct"};
    }
    static std::vector<std::string> plus(std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    test::GameDir game{"Quell Fort"};
    FakePlatform fake;
};

TEST_F(OrnRun, HappyPathLogsEveryStepAndStartsTheProgram) {
    setFolder(game.path() + "\\TOOLS");
    const auto log = run("mapmaker; " + game.path());
    const std::string built = game.path() + "\\TOOLS\\mapmaker.exe";
    EXPECT_EQ(log, plus(head(), {">> Registry seems okay.",
                                 ">> Class WindowsRegistry.QueryValue returned: '" + game.path() + "\\TOOLS'",
                                 "Calling Function ConvertToPath() with retreived Registrydata", "Buidling File.",
                                 ">> Key needs to be changed.", ">> New Key is '" + game.path() + "\\TOOLS\\'",
                                 ">> Key is correct.", "Built File is : '" + built + "' at $BuiltFile",
                                 "Shelling $BuiltFile", "QuitORN() received...", "Terminating ORN.", "Bye."}));
    ASSERT_EQ(fake.starts.size(), 1u);
    // The "\" of the registry and the descriptor are separators; the capitals resolve on disk;
    // the start falls back from the missing ".exe" to the program without it.
    EXPECT_EQ(fake.starts[0].program, game.path() + "/tools/mapmaker.exe");
    EXPECT_TRUE(fake.starts[0].args.empty());
    EXPECT_EQ(fake.starts[0].windowStyle, win::NormalFocus);
    EXPECT_EQ(fake.current, game.path());
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.endCode, 0);
}

TEST_F(OrnRun, FolderWithItsBackslashIsUsedUnchanged) {
    setFolder(game.path() + "/tools\\");
    const auto log = run("MAPMAKER; " + game.path());
    ASSERT_GE(log.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(log.end() - 7, log.end() - 3),
              (std::vector<std::string>{"Buidling File.", ">> Key is correct.",
                                        "Built File is : '" + game.path() + "/tools\\mapmaker.exe' at $BuiltFile",
                                        "Shelling $BuiltFile"}));
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].program, game.path() + "/tools/mapmaker.exe");
}

TEST_F(OrnRun, EmptyValueHaltsAndOnlyATrailingNulIsDropped) {
    struct Case {
        std::string value;
        bool starts;
    };
    const Case cases[] = {{std::string(1, '\0'), false}, {"", false}, {game.path() + "/tools" + '\0', true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.size());
        fake.starts.clear();
        fake.boxes.clear();
        game.write("korvex.wfd/logs/plg_orn.log", "");
        setFolder(c.value);
        const auto log = run("mapmaker; " + game.path());
        EXPECT_EQ(fake.starts.size(), c.starts ? 1u : 0u);
        if (c.starts) continue;
        EXPECT_EQ(log, plus(head(), {">> Registry returned NO Path. Halting Execution.", "QuitORN() received...",
                                     "Terminating ORN.", "Bye."}));
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, "Execution halted! Retreived Registry Path is NULL.\rCheck if the Program is "
                                      "available on your Computer\r\nand is installed properly.");
        EXPECT_EQ(fake.boxes[0].style, 16);
        EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
    }
}

// A registry value is any bytes: a line break or NUL in it stays inside its log lines.
TEST_F(OrnRun, BreaksInARegistryValueAddNoLogLine) {
    setFolder(game.path() + "/tools\r\nforged\n" + std::string(1, '\0') + "line");
    const auto log = run("mapmaker; " + game.path());
    const std::string value = game.path() + "/toolsforgedline";
    for (const std::string& l : {">> Class WindowsRegistry.QueryValue returned: '" + value + "'",
                                 ">> New Key is '" + value + "\\'",
                                 "Built File is : '" + value + "\\mapmaker.exe' at $BuiltFile"})
        EXPECT_NE(std::find(log.begin(), log.end(), l), log.end()) << l;
    for (const auto& l : log) EXPECT_NE(l.rfind("forged", 0), 0u);
    EXPECT_EQ(log.back(), "Bye.");
}

TEST_F(OrnRun, MissingKeyIsCreatedWithAnEmptyValueAndHalts) {
    const auto log = run("mapmaker; " + game.path());
    EXPECT_EQ(log.back(), "Bye.");
    EXPECT_TRUE(fake.starts.empty());
    const auto& values = fake.registry["HKEY_LOCAL_MACHINE|software\\doravuzu\\mapmaker"].values;
    ASSERT_EQ(values.count("installpath"), 1u);
    EXPECT_EQ(values.at("installpath"), (std::pair<std::uint32_t, std::string>{reg::Sz, ""}));
}

TEST_F(OrnRun, MissingLogsFolderDoesNotStopTheRun) {
    setFolder(game.path() + "/tools");
    QDir(QString::fromStdString(game.file("korvex.wfd/logs"))).removeRecursively();
    Program p;
    EXPECT_THROW(p.Main("mapmaker; " + game.path()), ProgramEnded);
    EXPECT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.endCode, 0);
}

struct EndCase {
    const char* what;
    std::vector<std::string> descriptors; // empty: no file
    bool descriptorFolder = false;
    std::string folder;   // registry value, relative to the game directory
    std::string subDir;   // appended to the game directory on the command line
    std::string boxStart; // the box's text begins so
    std::string logLine;  // the line before QuitORN's three
};

TEST(OrnEnds, OrderlyWithABoxAndQuitORN) {
    const std::vector<std::string> good = {"[mapmaker]", "HKEY_LOCAL_MACHINE", "SOFTWARE\\Doravuzu\\MapMaker",
                                           "InstallPath", "mapmaker.exe"};
    const std::string noTree = "Execution not possible. No applicable TreeType Specified.\r";
    const std::string noTreeLog = ">> No applicable TreeType Specified. Could not set LONG";
    const EndCase cases[] = {
        {"function not in the file", {"[other]", "HKEY_USERS", "K", "V", "x.exe"}, false, "tools", "", noTree, noTreeLog},
        {"unknown hive", {"[mapmaker]", "HKLM", "K", "V", "x.exe"}, false, "tools", "", noTree, noTreeLog},
        {"cut-off descriptor", {"[mapmaker]", "HKEY_USERS", "K"}, false, "tools", "", noTree, noTreeLog},
        {"lone [", {"["}, false, "tools", "", noTree, noTreeLog},
        {"descriptor file missing", {}, false, "tools", "", "Execution not possible. The function descriptor file ",
         ">> Could not read the descriptor file: File not found (53)"},
        {"descriptor file is a folder", {}, true, "tools", "", "Execution not possible. The function descriptor file ",
         ">> Could not read the descriptor file: Path/File access error (75)"},
        {"program missing", good, false, "nowhere", "", "Execution halted! The Program ",
         ">> Shelling failed: File not found (53)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::GameDir game;
        FakePlatform fake;
        game.touchProgram("tools/mapmaker");
        if (!c.descriptors.empty()) game.writeLines("korvex.wfd/config/orn_functions.ini", c.descriptors);
        if (c.descriptorFolder) QDir().mkpath(QString::fromStdString(game.file("korvex.wfd/config/orn_functions.ini")));
        fake.registry["HKEY_LOCAL_MACHINE|software\\doravuzu\\mapmaker"].values["installpath"] = {
            reg::Sz, game.path() + "/" + c.folder};
        Program p;
        EXPECT_THROW(p.Main("mapmaker; " + game.path()), ProgramEnded);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text.rfind(c.boxStart, 0), 0u) << fake.boxes[0].text;
        EXPECT_EQ(fake.boxes[0].style, 16);
        EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
        EXPECT_TRUE(fake.starts.empty());
        const auto log = splitLines(game.read("korvex.wfd/logs/plg_orn.log"));
        ASSERT_GE(log.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(log.end() - 4, log.end()),
                  (std::vector<std::string>{c.logLine, "QuitORN() received...", "Terminating ORN.", "Bye."}));
    }
}

// Started as "mapmaker; Quellfort" from the folder that holds the game directory: the program
// changes into it, so every path must still be built from where it started.
TEST(OrnEnds, RelativeBaseDirectoryNamesTheFilesBelowIt) {
    test::GameDir game;
    FakePlatform fake;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(parentDir(game.path()))));
    fake.current = parentDir(game.path());
    Program p;
    EXPECT_THROW(p.Main("mapmaker; " + fileNameOf(game.path())), ProgramEnded); // no descriptor file
    QDir::setCurrent(before);
    EXPECT_EQ(p.KorvexDir, game.path());
    EXPECT_EQ(fake.current, game.path());
    const std::string ini = game.path() + "/korvex.wfd/config/orn_functions.ini";
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text.rfind("Execution not possible. The function descriptor file " + ini + " ", 0), 0u)
        << fake.boxes[0].text;
    const auto log = splitLines(game.read("korvex.wfd/logs/plg_orn.log"));
    EXPECT_NE(std::find(log.begin(), log.end(), ">> Opening " + ini + "."), log.end());
}

TEST(OrnEnds, MissingBaseDirectoryEndsWithABox) {
    test::GameDir game;
    FakePlatform fake;
    Program p;
    EXPECT_THROW(p.Main("mapmaker; " + game.path() + "/gone"), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text.rfind("Execution not possible. The Quellfort directory " + game.path() + "/gone", 0), 0u);
    EXPECT_TRUE(fake.starts.empty());
    EXPECT_EQ(fake.endCode, 0);
}

} // namespace
} // namespace kx::orn
