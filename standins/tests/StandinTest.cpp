// The demo game directory that scripts/make-game-dir lays out, and the stand-in game in it.

#include "standins/tests/StandinRun.h"

#include "core/Files.h"
#include "shared/testing/GameDir.h"
#include "shared/LevelList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kx::test {
namespace {

std::string readAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeAll(const std::string& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool isDir(const std::string& p) { return QFileInfo(QString::fromStdString(p)).isDir(); }
bool isFile(const std::string& p) { return QFileInfo(QString::fromStdString(p)).isFile(); }

int makeGameDir(const std::string& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CMAKE", KX_CMAKE);
    return runProgram(KX_BASH, {standinSourceDir() + "/scripts/make-game-dir", dir, standinBuildDir()}, standinSourceDir(), env,
                      120000);
}

// One game directory for the whole suite: laying it out installs the suite, which takes a while.
class GameDirectory : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        tmp_ = new QTemporaryDir(QDir::tempPath() + "/korvex-standin-XXXXXX");
        dir_ = tmp_->path().toStdString() + "/Quell fort"; // not there yet; a blank in the path
        code_ = makeGameDir(dir_);
    }
    static void TearDownTestSuite() {
        delete tmp_;
        tmp_ = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(code_, 0) << "make-game-dir failed";
        journal_ = tmp_->path().toStdString() + "/journal-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".jsonl";
        QFile::remove(QString::fromStdString(journal_));
    }
    QProcessEnvironment env(bool quit = true) const {
        std::map<QString, QString> vars{{"KORVEX_STANDIN_JOURNAL", QString::fromStdString(journal_)}};
        if (quit) vars["KORVEX_STANDIN_QUIT"] = "1";
        return standinEnvironment(vars);
    }
    std::string game(const std::string& rel) const { return dir_ + "/" + rel; }

    static inline QTemporaryDir* tmp_ = nullptr;
    static inline std::string dir_;
    static inline int code_ = -1;
    std::string journal_;
};

TEST_F(GameDirectory, HoldsTheSuiteTreeAndTheGameWithItsTools) {
    for (const char* d : {"korvex.wfd/config", "korvex.wfd/config/serversets", "korvex.wfd/config/cyclelists",
                          "korvex.wfd/modules", "korvex.wfd/plugins", "korvex.wfd/skins", "korvex.wfd/templates",
                          "korvex.wfd/helpfiles", "korvex.wfd/logs"})
        EXPECT_TRUE(isDir(game(d))) << d;
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(game("korvex.wfd/logs/.keep"))));
    for (const char* exe : {"Game.exe", "data2edit.exe", "mapmaker.exe", "qfvs.exe"}) {
        const QFileInfo f(QString::fromStdString(game(exe)));
        EXPECT_TRUE(f.isFile() && f.isExecutable()) << exe;
    }
}

// Every line gives a clean name by the game's column rule, and each name has its level folder.
TEST_F(GameDirectory, LevelListNamesTheLevelFolders) {
    const std::string bytes = readAll(game("levels.nfo"));
    ASSERT_FALSE(bytes.empty());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    const std::vector<std::string> lines = readLines(game("levels.nfo"));
    EXPECT_EQ(bytes.size(), [&] {
        size_t n = 0;
        for (const auto& l : lines) n += l.size() + 2; // every line ends CR LF, no lone LF or CR
        return n;
    }());
    ASSERT_GE(lines.size(), 5u);
    const LevelList list = levelNames(lines, "the airbase");
    EXPECT_GE(list.selected, 0);
    for (const auto& name : list.names) {
        ASSERT_FALSE(name.empty());
        EXPECT_NE(name.front(), ' ') << name;
        EXPECT_NE(name.back(), ' ') << name;
        EXPECT_TRUE(isFile(game("levels/" + name + "/data1.bin"))) << name;
        EXPECT_TRUE(isFile(game("levels/" + name + "/world.dat"))) << name;
    }
}

TEST_F(GameDirectory, RerunRefreshesTheLevelsAndKeepsWhatOthersAdded) {
    const std::string level = game("levels/the airbase");
    const std::string original = readAll(level + "/data1.bin");
    writeAll(level + "/data1.bin", "changed");
    writeAll(level + "/data1.qfs", "left over");
    QFile::remove(QString::fromStdString(level + "/world.dat"));
    writeAll(game("korvex.wfd/logs/kept.log"), "a log line\r\n");
    QFile::remove(QString::fromStdString(game("qfvs.exe")));

    ASSERT_EQ(makeGameDir(dir_), 0);
    EXPECT_EQ(readAll(level + "/data1.bin"), original);
    EXPECT_TRUE(isFile(level + "/world.dat"));
    EXPECT_FALSE(isFile(level + "/data1.qfs"));
    EXPECT_TRUE(isFile(game("qfvs.exe")));
    EXPECT_EQ(readAll(game("korvex.wfd/logs/kept.log")), "a log line\r\n");
}

// The game receives one argument per option and per quoted value: the journal shows each as given.
TEST_F(GameDirectory, JournalShowsEachArgumentVerbatim) {
    const std::vector<std::vector<std::string>> cases = {
        {"+host", "+name", "a b"},
        {},
        {"+name", "say \"hi\"", "back\\slash", "tab\there", "two\r\nlines", "caf\xc3\xa9", ""},
    };
    for (const auto& args : cases) ASSERT_EQ(runProgram(game("Game.exe"), args, dir_, env()), 0);
    const auto entries = journalEntries(journal_);
    ASSERT_EQ(entries.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(entries[i].value("as").toString(), "Game.exe");
        EXPECT_EQ(entryArgs(entries[i]), cases[i]) << "case " << i;
        EXPECT_EQ(entries[i].value("cwd").toString().toStdString(), QDir(QString::fromStdString(dir_)).canonicalPath().toStdString());
    }
}

TEST_F(GameDirectory, EachToolNamesItselfAndKeepsItsCurrentDirectory) {
    const std::string elsewhere = game("levels");
    for (const char* exe : {"data2edit.exe", "mapmaker.exe", "qfvs.exe"})
        ASSERT_EQ(runProgram(game(exe), {}, elsewhere, env()), 0);
    const auto entries = journalEntries(journal_);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].value("as").toString(), "data2edit.exe");
    EXPECT_EQ(entries[1].value("as").toString(), "mapmaker.exe");
    EXPECT_EQ(entries[2].value("as").toString(), "qfvs.exe");
    EXPECT_EQ(entries[2].value("cwd").toString(), QDir(QString::fromStdString(elsewhere)).canonicalPath());
}

TEST_F(GameDirectory, WithoutJournalVariableWritesBesideItself) {
    const std::string log = game("standin.log");
    QFile::remove(QString::fromStdString(log));
    ASSERT_EQ(runProgram(game("mapmaker.exe"), {"x"}, dir_, standinEnvironment({{"KORVEX_STANDIN_QUIT", "1"}})), 0);
    const auto entries = journalEntries(log);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entryArgs(entries[0]), std::vector<std::string>{"x"});
    QFile::remove(QString::fromStdString(log));
}

// A cycling server and tests start several copies at once: no line is lost or torn.
TEST_F(GameDirectory, ConcurrentStartsKeepWholeLines) {
    constexpr int n = 12;
    std::vector<std::unique_ptr<QProcess>> ps;
    for (int i = 0; i < n; ++i) ps.push_back(startProgram(game("Game.exe"), {"+start", std::to_string(i)}, dir_, env()));
    for (auto& p : ps) ASSERT_TRUE(p->waitForFinished(20000));
    const auto entries = journalEntries(journal_);
    ASSERT_EQ(entries.size(), static_cast<size_t>(n));
    std::vector<bool> seen(n);
    for (const auto& e : entries) {
        const auto args = entryArgs(e);
        ASSERT_EQ(args.size(), 2u);
        seen.at(std::stoi(args[1])) = true;
    }
    for (int i = 0; i < n; ++i) EXPECT_TRUE(seen[i]) << i;
}

// The level modding assistant starts: Game.exe +edit "<level folder>" NullString 0.
TEST_F(GameDirectory, EditWritesANewDataFileIntoTheLevelFolder) {
    struct Case {
        std::string level, cwd, folder;
    };
    const std::vector<Case> cases = {
        {game("levels/the bunker"), dir_, "levels/the bunker"},          // absolute, as the assistant passes it
        {"levels/dust valley", dir_, "levels/dust valley"},              // relative to the current directory
        {"levels/frozen harbour", game("korvex.wfd"), "levels/frozen harbour"}, // else to the game directory
    };
    for (const auto& c : cases) {
        const std::string before = readAll(game(c.folder + "/data1.bin"));
        const std::string world = readAll(game(c.folder + "/world.dat"));
        ASSERT_EQ(runProgram(game("Game.exe"), {"+edit", c.level, "NullString", "0"}, c.cwd, env(false)), 0) << c.level;
        const std::string after = readAll(game(c.folder + "/data1.bin"));
        EXPECT_FALSE(after.empty()) << c.level;
        EXPECT_NE(after, before) << c.level;
        EXPECT_EQ(readAll(game(c.folder + "/world.dat")), world) << c.level;
    }
    EXPECT_EQ(journalEntries(journal_).size(), cases.size());
}

TEST_F(GameDirectory, EditOfAMissingFolderFailsAndWritesNothing) {
    EXPECT_NE(runProgram(game("Game.exe"), {"+edit", game("levels/no such level"), "NullString", "0"}, dir_, env()), 0);
    EXPECT_FALSE(isDir(game("levels/no such level")));
    EXPECT_NE(runProgram(game("Game.exe"), {"+edit"}, dir_, env()), 0);
    EXPECT_EQ(journalEntries(journal_).size(), 2u); // a failed start is journalled too
}

// Offscreen: the plain window goes away by itself; the dedicated server stays until closed.
TEST_F(GameDirectory, PlainWindowClosesByItselfDedicatedServerStays) {
    QProcessEnvironment e = env(false);
    e.insert("QT_QPA_PLATFORM", "offscreen");
    auto plain = startProgram(game("Game.exe"), {"+connect", "1.2.3.4:24711"}, dir_, e);
    auto server = startProgram(game("Game.exe"), {"+host", "+map", "the airbase", "+dedicated"}, dir_, e);
    ASSERT_TRUE(server->waitForStarted(5000));
    ASSERT_TRUE(plain->waitForFinished(15000));
    EXPECT_EQ(plain->exitCode(), 0);
    EXPECT_FALSE(server->waitForFinished(1000)) << "the dedicated server ended by itself";
    server->kill();
    server->waitForFinished(5000);
}

} // namespace
} // namespace kx::test
