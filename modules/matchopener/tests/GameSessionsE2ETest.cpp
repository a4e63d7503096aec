// The game-session modules end to end in a copy of the demo game directory: the host and join
// windows start the stand-in game through the real platform (a scripted answer cannot press a
// form button, so the window runs in this process), and the installed programs are started
// the way the launcher starts them.
#include "frmHost.h"
#include "frmJoiner.h"

#include "shared/testing/EndToEnd.h"
#include "platform/Platform.h"
#include "platform/RealPlatform.h"
#include "core/Text.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

namespace kx {
namespace {

using test::jsonLines;

std::vector<std::string> strings(const QJsonArray& a) {
    std::vector<std::string> out;
    for (const auto& v : a) out.push_back(v.toString().toStdString());
    return out;
}

class GameSessions : public ::testing::Test {
protected:
    void SetUp() override {
        if (!demo.problem().isEmpty()) GTEST_SKIP() << demo.problem().toStdString();
        dir = demo.game; // a base directory with a blank in it
        journal = demo.journal;
        dialogs = demo.dialogs;
        env.emplace(demo.variables());
    }
    void TearDown() override {
        if (real) setPlatform(previous);
    }
    void useRealPlatform(const std::string& programName) {
        real = makeRealPlatform();
        previous = setPlatform(real.get());
        real->setProgramName(programName);
    }
    void writeConfig(const std::vector<std::string>& lines) {
        std::ofstream out((dir + "/korvex.wfd/config/korvex.cfg").toStdString(), std::ios::binary | std::ios::trunc);
        for (const auto& l : lines) out << l << "\r\n";
    }
    // The one start the stand-in journals, waited for: the game is started without waiting.
    QJsonObject gameStart() {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 20000) {
            const auto lines = jsonLines(journal);
            if (!lines.empty()) {
                EXPECT_EQ(lines.size(), 1u);
                return lines.front();
            }
            QTest::qWait(50);
        }
        ADD_FAILURE() << "the stand-in game journalled no start";
        return {};
    }
    // Runs an installed module to its end (it must end by itself) and returns its exit code.
    int runInstalled(const QString& program, const QStringList& args) {
        QProcess p;
        EXPECT_TRUE(demo.start(p, dir + "/korvex.wfd/modules/" + program, args, QString())) << program.toStdString();
        if (!p.waitForFinished(20000)) {
            ADD_FAILURE() << program.toStdString() << " did not end";
            p.kill();
            p.waitForFinished(5000);
            return -1;
        }
        return p.exitCode();
    }

    test::DemoGame demo{"Demo Game"};
    QString dir, journal, dialogs;
    std::optional<test::ScopedEnv> env; // this process's too: the windows under test run here
    std::unique_ptr<Platform> real;
    Platform* previous = nullptr;
};

TEST_F(GameSessions, HostStartsTheGameWithOneArgumentPerValue) {
    writeConfig({"playername=Ann \"the\" +rcon_password x", "host-mpmap=Frozen Harbour", "host-gamet= 1",
                 "host-teama= 2", "host-gamen=-dedicated \"game\"", "host-maxpl= 6"});
    useRealPlatform("mod_matchopener");
    matchopener::frmHost form(dir.toStdString());
    form.Form_Load();
    ASSERT_EQ(form.Combo4->currentText(), "frozen harbour");
    form.Command1_Click();
    const QJsonObject start = gameStart();
    EXPECT_EQ(start["as"].toString(), "Game.exe");
    EXPECT_EQ(strings(start["args"].toArray()),
              (std::vector<std::string>{"+host", "+maxplayers", "8", "+name", "Ann \"the\" +rcon_password x", "+team",
                                        "red", "+hostname", "-dedicated \"game\"", "+map", "frozen harbour", "+game",
                                        "ctf"}));
    EXPECT_EQ(QFileInfo(start["cwd"].toString()).canonicalFilePath(), QFileInfo(dir).canonicalFilePath());
    EXPECT_TRUE(form.unloaded());
    EXPECT_TRUE(jsonLines(dialogs).empty());
}

TEST_F(GameSessions, JoinStartsTheGameWithOneArgumentPerValue) {
    writeConfig({"playername=Bob -connect", "host-teama= 1"});
    useRealPlatform("mod_seatfinder");
    seatfinder::frmJoiner form(dir.toStdString());
    form.Form_Load();
    form.textIP->setText("192.0.2.10:24711");
    form.Command1_Click();
    const QJsonObject start = gameStart();
    EXPECT_EQ(start["as"].toString(), "Game.exe");
    EXPECT_EQ(strings(start["args"].toArray()), (std::vector<std::string>{"+connect", "192.0.2.10:24711", "+name",
                                                                          "Bob -connect", "+team", "blue"}));
    EXPECT_EQ(QFileInfo(start["cwd"].toString()).canonicalFilePath(), QFileInfo(dir).canonicalFilePath());
    EXPECT_TRUE(form.unloaded());
    EXPECT_TRUE(jsonLines(dialogs).empty());
}

TEST_F(GameSessions, InstalledModulesRefuseAnEmptyCommandLine) {
    struct Case {
        QString program;
        std::string text;
        int style;
        std::string title;
    };
    const Case cases[] = {
        {"mod_matchopener", "The Execution of the module failed.\rPlease reinstall Korvex.", 16, "Critical Error."},
        {"mod_seatfinder", "The Execution of the module failed.\rPlease reinstall Korvex.", 16, "Critical Error."},
        {"mod_nameprobe", "Could not retreive DNS Name...\r\naborting.", 16, "Error."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program.toStdString());
        QFile::remove(dialogs);
        EXPECT_EQ(runInstalled(c.program, {}), 0);
        const auto lines = jsonLines(dialogs);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0]["program"].toString(), c.program);
        EXPECT_EQ(lines[0]["kind"].toString(), "msgbox");
        EXPECT_EQ(lines[0]["text"].toString().toStdString(), c.text);
        EXPECT_EQ(lines[0]["style"].toInt(), c.style);
        EXPECT_EQ(lines[0]["title"].toString().toStdString(), c.title);
    }
    EXPECT_TRUE(jsonLines(journal).empty());
}

TEST_F(GameSessions, SecondNameProbeEndsSilently) {
    QProcess first;
    ASSERT_TRUE(demo.start(first, dir + "/korvex.wfd/modules/mod_nameprobe", {"localhost"}, QString()));
    // The first copy holds its lock once it runs; it waits for its window to be closed.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000 && QDir(demo.runtime).entryList(QDir::Files).isEmpty()) QTest::qWait(50);
    EXPECT_FALSE(first.waitForFinished(500));

    EXPECT_EQ(runInstalled("mod_nameprobe", {"localhost"}), 0);
    EXPECT_TRUE(jsonLines(dialogs).empty());

    first.kill();
    first.waitForFinished(5000);
}

} // namespace
} // namespace kx
