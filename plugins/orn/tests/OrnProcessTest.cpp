// The built plg_orn as a process: its own set-up, as the launcher's plug-in runner starts it.
#include "core/Text.h"
#include "shared/testing/EndToEnd.h"
#include "shared/testing/GameDir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace kx::orn {
namespace {

// Under a file-size limit its log already exceeds, every log line fails to be written. The
// program must go its way (the note on standard error, its box, its orderly end), not die of
// SIGXFSZ at the first line: the child starts with the signal's default action, so only the
// program's own set-up can keep it alive.
TEST(OrnProcess, LogPastAFileSizeLimitFailsOnItsNormalPath) {
    test::GameDir game;
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    game.writeLines("korvex.wfd/config/orn_functions.ini",
                    {"[mapmaker]", "HKEY_LOCAL_MACHINE", "SOFTWARE\\Doravuzu\\MapMaker", "InstallPath", "mapmaker.exe"});
    const std::string full(4096, 'x');
    game.write("korvex.wfd/logs/plg_orn.log", full);
    const QString dialogs = home.path() + "/dialogs.jsonl";

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KORVEX_DIALOGS", dialogs);
    env.insert("KORVEX_DIALOG_ANSWERS", home.path() + "/answers");
    env.insert("XDG_CONFIG_HOME", home.path());
    env.insert("XDG_RUNTIME_DIR", home.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    p.start(QString::fromStdString(test::buildDir() + "/plugins/orn/plg_orn"),
            {"mapmaker;", QString::fromStdString(game.path())});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "killed by signal";
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_NE(p.readAllStandardError().indexOf("cannot write the log"), -1);
    // The registry holds no folder: the box of the empty path, then the orderly end.
    const auto boxes = test::jsonLines(dialogs);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]["title"].toString(), "Critical Error.");
    EXPECT_TRUE(boxes[0]["text"].toString().startsWith("Execution halted! Retreived Registry Path is NULL."));
    EXPECT_EQ(game.read("korvex.wfd/logs/plg_orn.log"), full);
}

} // namespace
} // namespace kx::orn
