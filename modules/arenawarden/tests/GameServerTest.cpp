// The game server's command line, its start, the window closer and the module's start-up.
#include "ArenaFixture.h"

#include "GameServer.h"
#include "ModuleState.h"
#include "TextControls.h"
#include "frmCfgServ.h"
#include "frmServerModule.h"

namespace kx::arenawarden {
namespace {

TEST(ServerCommand, OnePlayerMoreQuotedValuesOneArgumentEach) {
    struct Case {
        std::int16_t players;
        std::string host, map, type, text;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {8, "KX3.Arena", "the airbase", "ctf",
         "+host +maxplayers 9 +hostname \"KX3.Arena\" +map \"the airbase\" +game \"ctf\" +dedicated",
         {"+host", "+maxplayers", "9", "+hostname", "KX3.Arena", "+map", "the airbase", "+game", "ctf", "+dedicated"}},
        {30, "a", "b", "teamplay", "+host +maxplayers 31 +hostname \"a\" +map \"b\" +game \"teamplay\" +dedicated",
         {"+host", "+maxplayers", "31", "+hostname", "a", "+map", "b", "+game", "teamplay", "+dedicated"}},
        {2, "", "", "deathmatch", "+host +maxplayers 3 +hostname \"\" +map \"\" +game \"deathmatch\" +dedicated",
         {"+host", "+maxplayers", "3", "+hostname", "", "+map", "", "+game", "deathmatch", "+dedicated"}},
        // A quote in a value ends the quoted text in the logged line, but stays one argument.
        {16, "My \"best\" +rcon x", "a\" +map \"b", "ctf",
         "+host +maxplayers 17 +hostname \"My \"best\" +rcon x\" +map \"a\" +map \"b\" +game \"ctf\" +dedicated",
         {"+host", "+maxplayers", "17", "+hostname", "My \"best\" +rcon x", "+map", "a\" +map \"b", "+game", "ctf",
          "+dedicated"}},
    };
    for (const auto& c : cases) {
        const ServerCommand s = serverCommand(c.players, c.host, c.map, c.type);
        EXPECT_EQ(s.text, c.text);
        EXPECT_EQ(s.args, c.args) << c.text;
    }
}

using StartServerTest = ArenaTest;

TEST_F(StartServerTest, StartsTheGameAndLogsOnTheHiddenServerWindow) {
    ASSERT_EQ(serverModuleIfLoaded(), nullptr);
    StartServer(8, "Arena", "the bunker", "ctf");
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].program, dir.file("Game.exe"));
    EXPECT_EQ(fake.starts[0].args, serverCommand(8, "Arena", "the bunker", "ctf").args);
    EXPECT_EQ(fake.starts[0].workDir, "");
    EXPECT_EQ(fake.starts[0].windowStyle, win::NormalFocus);
    EXPECT_EQ(state().serverCommandLine, serverCommand(8, "Arena", "the bunker", "ctf").text);
    ASSERT_NE(serverModuleIfLoaded(), nullptr);
    EXPECT_FALSE(serverModule().isVisible());
    EXPECT_EQ(logLines(serverModule().Text1), (std::vector<std::string>{"ZIV started...", "Starting QF..."}));
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(StartServerTest, AFailedStartShowsTheModulesBoxAndReturns) {
    fake.failingStarts[dir.file("Game.exe")] = 53;
    StartServer(8, "Arena", "the bunker", "ctf");
    EXPECT_EQ(boxTexts(fake), (std::vector<std::string>{
                                  "An error occured while trying to perform the specified task.\r\nFile not found ( 53 )"}));
    EXPECT_EQ(logLines(serverModule().Text1).back(), "Starting QF...");
}

TEST(KillWindowsByTitle, ClosesEveryWindowWhoseTitleContainsItExactly) {
    FakePlatform fake;
    const std::string t = DedicatedServerTitle;
    fake.windows = {{1, t},
                    {2, "[2] " + t + " (copy)"},
                    {3, "quellfort dedicated server on port 24711"},
                    {4, std::string(230, 'x') + t},     // the title is cut behind character 255
                    {5, std::string(215, 'x') + t},     // ends at character 255: still found
                    {6, "Quellfort dedicated server on port 2471"},
                    {7, t}};
    KillWindowsByTitle(t);
    EXPECT_EQ(fake.closedWindows, (std::vector<std::uint64_t>{1, 2, 5, 7}));
    EXPECT_EQ(state().killTitleText, t);
}

TEST(KillWindowsByTitle, AWindowThatStaysDoesNotStopTheOthers) {
    FakePlatform fake;
    fake.windowsCloseOnRequest = false;
    fake.windows = {{1, DedicatedServerTitle}, {2, DedicatedServerTitle}};
    KillWindowsByTitle(DedicatedServerTitle);
    EXPECT_EQ(fake.closedWindows, (std::vector<std::uint64_t>{1, 2}));
    fake.windows.clear();
    KillWindowsByTitle(DedicatedServerTitle); // nothing to close, nothing reported
    EXPECT_TRUE(fake.boxes.empty());
}

using StartModuleTest = ArenaTest;

TEST_F(StartModuleTest, AnEmptyCommandLineEndsAfterTheCriticalBox) {
    EXPECT_THROW(startModule(""), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "The execution of the module failed.\rPlease reinstall Korvex.");
    EXPECT_EQ(fake.boxes[0].style, 16);
    EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
    EXPECT_EQ(cfgServWindow(), nullptr);
}

TEST_F(StartModuleTest, TheGameDirectoryBecomesCurrentAndTheConfigurationWindowShows) {
    state().korvexDir.clear();
    startModule(dir.path());
    EXPECT_EQ(state().korvexDir, dir.path());
    EXPECT_EQ(fake.current, dir.path());
    ASSERT_NE(cfgServWindow(), nullptr);
    EXPECT_TRUE(cfgServWindow()->isVisible());
    EXPECT_TRUE(fake.boxes.empty());
}

} // namespace
} // namespace kx::arenawarden
