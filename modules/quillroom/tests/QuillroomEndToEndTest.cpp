// The installed module in the demo game directory: it refuses an empty command line with the
// "Critical Error." box, and a second copy ends at once while the first runs.
#include "shared/testing/GameDir.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class QuillroomEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        demo = QString::fromStdString(kx::test::buildDir() + "/demo-game");
        program = demo + "/korvex.wfd/modules/mod_quillroom";
        ASSERT_TRUE(QFileInfo(program).isExecutable()) << "no demo game directory at " << demo.toStdString();
        ASSERT_TRUE(tmp.isValid());
        QDir().mkpath(tmp.path() + "/runtime");
        QFile::setPermissions(tmp.path() + "/runtime",
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("KORVEX_DIALOGS", tmp.path() + "/dialogs.jsonl");
        env.insert("KORVEX_DIALOG_ANSWERS", tmp.path() + "/answers");
        env.insert("XDG_CONFIG_HOME", tmp.path() + "/config");
        env.insert("XDG_RUNTIME_DIR", tmp.path() + "/runtime");
    }
    void start(QProcess& p, const QStringList& args) {
        p.setProcessEnvironment(env);
        p.start(program, args);
        ASSERT_TRUE(p.waitForStarted(5000));
    }
    QByteArray dialogs() {
        QFile f(tmp.path() + "/dialogs.jsonl");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString demo, program;
    QTemporaryDir tmp;
    QProcessEnvironment env;
};

TEST_F(QuillroomEndToEnd, EmptyCommandLineIsRefused) {
    QProcess p;
    start(p, {});
    ASSERT_TRUE(p.waitForFinished(10000));
    const QByteArray d = dialogs();
    EXPECT_TRUE(d.contains("\"title\":\"Critical Error.\"")) << d.toStdString();
    EXPECT_TRUE(d.contains("The Execution of the module failed.")) << d.toStdString();
}

TEST_F(QuillroomEndToEnd, ASecondCopyEndsAtOnceAndSilently) {
    QProcess first;
    start(first, {demo});
    // The first copy shows its window and keeps running.
    EXPECT_FALSE(first.waitForFinished(1500));
    QProcess second;
    start(second, {demo});
    EXPECT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_TRUE(dialogs().isEmpty()) << dialogs().toStdString();
    first.kill();
    first.waitForFinished(5000);
}

} // namespace
