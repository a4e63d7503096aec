// The installed QFKorvex in a copy of the demo game directory, with scripted dialogs. The
// modules it starts at start-up and on the error path are stand-ins here, so that the run
// shows how the launcher starts them (the journal) without their windows.
#include "core/Files.h"
#include "shared/KorvexConfig.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/testing/EndToEnd.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace fs = std::filesystem;

namespace {

std::string demoGame() { return std::string(KX_E2E_BUILD_DIR) + "/demo-game"; }

using kx::test::jsonLines;
using kx::test::readOrEmpty;
using kx::test::waitFor;

class LauncherEndToEnd : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    std::string game, journal, dialogs, answers;

    void SetUp() override {
        ASSERT_TRUE(fs::exists(demoGame() + "/QFKorvex")) << "no demo game directory with QFKorvex in " << demoGame();
        ASSERT_TRUE(tmp.isValid());
        const std::string root = tmp.path().toStdString();
        // A blank in the base directory, as players' game folders often have.
        game = root + "/game dir";
        fs::copy(demoGame(), game, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
        game = fs::canonical(game).string();
        for (const char* key : {"docklet", "prepdesk", "tidyup"})
            fs::copy_file(game + "/Game.exe", game + "/korvex.wfd/modules/mod_" + key,
                          fs::copy_options::overwrite_existing);
        fs::remove(game + "/korvex.wfd/config/korvex.cfg");
        journal = root + "/journal.jsonl";
        dialogs = root + "/dialogs.jsonl";
        answers = root + "/answers.txt";
        QFile(QString::fromStdString(answers)).open(QIODevice::WriteOnly);
        QDir().mkpath(QString::fromStdString(root + "/config"));
        QDir().mkpath(QString::fromStdString(root + "/runtime"));
        QFile::setPermissions(QString::fromStdString(root + "/runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void start(QProcess& p) const {
        const std::string root = tmp.path().toStdString();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KORVEX_DIALOGS", QString::fromStdString(dialogs));
        env.insert("KORVEX_DIALOG_ANSWERS", QString::fromStdString(answers));
        env.insert("KORVEX_STANDIN_JOURNAL", QString::fromStdString(journal));
        env.insert("KORVEX_STANDIN_QUIT", "1");
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(root + "/config"));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(root + "/runtime"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(QString::fromStdString(game));
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(QString::fromStdString(game + "/QFKorvex"), {});
        ASSERT_TRUE(p.waitForStarted(10000));
    }

    std::vector<std::string> log() const {
        return kx::splitLines(readOrEmpty(kx::resolvePath(game, "Korvex.wfd/Logs/Korvex.log")));
    }

    bool logHas(const std::string& line) const {
        const auto l = log();
        return std::find(l.begin(), l.end(), line) != l.end();
    }

    // The journal's lines for one stand-in, each as its argument list.
    std::vector<std::vector<std::string>> startsOf(const std::string& as) const {
        std::vector<std::vector<std::string>> out;
        for (const auto& o : jsonLines(journal)) {
            if (o["as"].toString().toStdString() != as) continue;
            std::vector<std::string> args;
            for (const auto& a : o["args"].toArray()) args.push_back(a.toString().toStdString());
            out.push_back(args);
        }
        return out;
    }
};

} // namespace

TEST_F(LauncherEndToEnd, WithoutConfigurationTheSetUpIsStartedAndTheLauncherEnds) {
    QProcess p;
    start(p);
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);

    const auto l = log();
    ASSERT_GE(l.size(), 3u);
    EXPECT_EQ(l[0], "");
    EXPECT_THAT(l[1], ::testing::StartsWith("KORVEX3.1 Launched..... "));
    EXPECT_THAT(std::vector<std::string>(l.begin() + 2, l.end()),
                ElementsAreArray(std::vector<std::string>{"$KorvexDir == " + game, "ERROR!", ">> File not found", ">> 53",
                                  "Called ModuleStart().", ">> $ModuleName == prepdesk", ">> Executed."}));

    const auto boxes = jsonLines(dialogs);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]["program"].toString(), "QFKorvex");
    EXPECT_EQ(boxes[0]["kind"].toString(), "msgbox");
    EXPECT_EQ(boxes[0]["text"].toString().toStdString(),
              "Korvex was unable to find the configuration file. Korvex Setup will be run now.\r\n"
              "Program halted.\r\n\r\nFile not found, 53");
    EXPECT_EQ(boxes[0]["style"].toInt(), 48);
    EXPECT_EQ(boxes[0]["title"].toString(), "error.");

    ASSERT_TRUE(waitFor([&] { return !startsOf("mod_prepdesk").empty(); }, 10000));
    EXPECT_THAT(startsOf("mod_prepdesk"), ElementsAreArray({std::vector<std::string>{game}}));
    EXPECT_TRUE(startsOf("mod_docklet").empty());
    EXPECT_TRUE(startsOf("mod_tidyup").empty());
}

TEST_F(LauncherEndToEnd, WithConfigurationItLoadsStartsTheTrayModuleAndRunsOnce) {
    kx::ConfigValues v;
    v.playerName = "Bob";
    v.defaultMap = "the airbase";
    v.gameName = "Bob's Game";
    v.shotDir = "C:\\";
    kx::writeConfig(game, v);

    QProcess p;
    start(p);
    const bool loaded = waitFor([&] { return logHas("Status: Loading finished. Starting MainApplication."); }, 30000);
    EXPECT_TRUE(loaded) << "log:\n" << kx::joinLines(log());
    if (loaded) {
        const auto l = log();
        const auto from = std::find(l.begin(), l.end(), "Open Configuration file...");
        ASSERT_NE(from, l.end());
        EXPECT_THAT(std::vector<std::string>(from, l.end()),
                    ElementsAreArray(std::vector<std::string>{"Open Configuration file...", "Registered User == Bob",
                                      "Closing Configuration File...", "Writing Globals to memory...",
                                      ">> $SnapShotDir is a Root. Shortening to Drive.", "$SnapShotDir == C:",
                                      "$GameSpyFile == ", "Retreiving PlugIns...", "Start Docklet Extension...",
                                      "Called ModuleStart().", ">> $ModuleName == docklet", ">> Executed.",
                                      "Executing LoadWebSites()...", "Executing ParseAutoExec()...",
                                      "Status: Ready for Mainscreen reached.", "Executing ApplySkin()",
                                      ">> Skin == qfs 3.1 default",
                                      "Status: Loading finished. Starting MainApplication.",
                                      std::string(51, '-')}));
        EXPECT_TRUE(waitFor([&] { return !startsOf("mod_docklet").empty(); }, 10000));
        EXPECT_THAT(startsOf("mod_docklet"), ElementsAreArray({std::vector<std::string>{game}}));

        // A second start while the first runs ends at once, silently.
        const size_t lines = log().size();
        QProcess second;
        start(second);
        EXPECT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(log().size(), lines);
    }
    EXPECT_TRUE(jsonLines(dialogs).empty()) << readOrEmpty(dialogs);
    EXPECT_EQ(p.state(), QProcess::Running) << "the main window keeps the launcher up";

    p.kill();
    p.waitForFinished(10000);
}
