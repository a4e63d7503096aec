// The first run from start to main window on the installed programs: a fresh game directory
// without korvex.cfg, QFKorvex (which starts the set-up), the wizard with its defaults, then
// QFKorvex again up to its main window with the set-up's skin applied and no skin box.
#include "frmGetScreenieDir.h"
#include "frmSetup.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/testing/EndToEnd.h"
#include "platform/FakePlatform.h"
#include "shared/widgets/FileControls.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

using kx::test::jsonLines;
using kx::test::readOrEmpty;
using kx::test::waitFor;

class FirstRun : public ::testing::Test {
protected:
    kx::test::DemoGame demo{"first run"};
    std::string game, journal, dialogs;
    QProcess launcher;

    void SetUp() override {
        ASSERT_EQ(demo.problem(), "");
        game = demo.game.toStdString();
        fs::remove(game + "/korvex.wfd/config/korvex.cfg");
        // The wizard runs in this process below: the one the launcher starts is the stand-in,
        // which notes its start and ends.
        fs::copy_file(game + "/Game.exe", game + "/korvex.wfd/modules/mod_prepdesk", fs::copy_options::overwrite_existing);
        journal = demo.journal.toStdString();
        dialogs = demo.dialogs.toStdString();
    }

    void TearDown() override {
        if (launcher.state() != QProcess::NotRunning) {
            launcher.kill();
            launcher.waitForFinished(5000);
        }
    }

    void startLauncher() {
        const QString dir = QString::fromStdString(game);
        ASSERT_TRUE(demo.start(launcher, dir + "/QFKorvex", {}, dir));
    }

    std::vector<std::string> log() const {
        return kx::splitLines(demo.launcherLog());
    }
    bool logHas(const std::string& line) const {
        const auto l = log();
        return std::find(l.begin(), l.end(), line) != l.end();
    }
};

} // namespace

TEST_F(FirstRun, SetUpThenTheMainWindowWithTheDefaultSkin) {
    // 1. No configuration: the launcher starts the set-up with the game directory and ends.
    startLauncher();
    ASSERT_TRUE(launcher.waitForFinished(30000));
    EXPECT_TRUE(waitFor([&] { return !jsonLines(journal).empty(); }, 10000));
    const auto starts = jsonLines(journal);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["as"].toString(), "mod_prepdesk");
    EXPECT_EQ(starts[0]["args"].toArray(), QJsonArray{QString::fromStdString(game)});
    const size_t firstBoxes = jsonLines(dialogs).size();
    EXPECT_EQ(firstBoxes, 1u) << readOrEmpty(dialogs);

    // 2. The wizard with its defaults; the screenshot folder is the one its picker opens on.
    {
        kx::FakePlatform fake;
        fake.current = game;
        kx::prepdesk::frmSetup w(game);
        for (int i = 0; i < 3; ++i) w.Command1_Click();
        ASSERT_EQ(w.page(), 3);
        w.Command7_Click();
        ASSERT_TRUE(w.screenieDirPicker());
        w.screenieDirPicker()->Command1_Click();
        w.Command1_Click();
        w.Command1_Click();
        ASSERT_EQ(w.page(), 5);
        EXPECT_THROW(w.Command1_Click(), kx::ProgramEnded);
    }
    const std::string cfg = readOrEmpty(game + "/korvex.wfd/config/korvex.cfg");
    EXPECT_NE(cfg.find("\r\nusedskinis=qfs 3.1 default\r\nrandomskin=false\r\n"), std::string::npos) << cfg;

    // 3. The next start reaches its main window with that skin, and shows no skin box.
    startLauncher();
    EXPECT_TRUE(waitFor([&] { return logHas("Status: Loading finished. Starting MainApplication."); }, 30000))
        << kx::joinLines(log());
    EXPECT_TRUE(logHas(">> Skin == qfs 3.1 default"));
    EXPECT_FALSE(logHas("Executing ApplyRandomSkin()"));
    EXPECT_EQ(launcher.state(), QProcess::Running) << "the main window keeps the launcher up";

    const auto boxes = jsonLines(dialogs);
    const bool trayModuleThere = fs::exists(game + "/korvex.wfd/modules/mod_docklet");
    for (size_t i = firstBoxes; i < boxes.size(); ++i) {
        const std::string text = boxes[i]["text"].toString().toStdString();
        const std::string title = boxes[i]["title"].toString().toStdString();
        SCOPED_TRACE(text);
        EXPECT_EQ(text.find("Skin"), std::string::npos);
        EXPECT_NE(title, "Error...");
        // Only a tray module that is not installed yet may be reported.
        EXPECT_FALSE(trayModuleThere);
        EXPECT_EQ(title, "An Error occured");
    }
}
