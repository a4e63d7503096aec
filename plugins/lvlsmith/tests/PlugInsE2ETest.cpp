// The level modding assistant end to end in a copy of the demo game directory. Its window
// runs in this process on the real platform, since a scripted answer cannot press its buttons;
// the stand-in game is its editor. How the launcher's plug-in menu starts both plug-in programs
// is in PlugInMenuE2ETest.cpp.
#include "frmMain.h"

#include "core/Files.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "platform/RealPlatform.h"
#include "shared/testing/EndToEnd.h"
#include "shared/testing/GameDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace kx {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

using test::jsonLines;
using test::waitFor;

class PlugIns : public ::testing::Test {
protected:
    void SetUp() override {
        const QString demo = q(test::buildDir()) + "/demo-game";
        if (!QFileInfo(demo + "/Game.exe").isFile()) GTEST_SKIP() << "no demo game directory at " << demo.toStdString();
        ASSERT_TRUE(tmp.isValid());
        dir = tmp.path() + "/Demo Game";
        test::copyTree(demo, dir);
        journal = tmp.path() + "/journal.jsonl";
        dialogs = tmp.path() + "/dialogs.jsonl";
        answers = tmp.path() + "/answers";
        opened = tmp.path() + "/opened";
        for (const char* d : {"/config/Korvex", "/runtime", "/bin"}) QDir().mkpath(tmp.path() + d);
        // The desktop's opener records what it was given instead of opening it.
        QFile opener(tmp.path() + "/bin/xdg-open");
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + opened.toLocal8Bit() + "'\n");
        opener.close();
        opener.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env = {{"KORVEX_STANDIN_JOURNAL", journal},
               {"KORVEX_STANDIN_QUIT", "1"},
               {"KORVEX_DIALOGS", dialogs},
               {"KORVEX_DIALOG_ANSWERS", answers},
               {"KORVEX_EDITOR", tmp.path() + "/bin/xdg-open"},
               {"XDG_CONFIG_HOME", tmp.path() + "/config"},
               {"XDG_RUNTIME_DIR", tmp.path() + "/runtime"},
               {"PATH", tmp.path() + "/bin:" + qEnvironmentVariable("PATH")},
               {"QT_QPA_PLATFORM", "offscreen"}};
        scoped = std::make_unique<test::ScopedEnv>(env);
    }
    void TearDown() override {
        if (real) setPlatform(previous);
        scoped.reset();
    }
    void useRealPlatform(const std::string& programName) {
        real = makeRealPlatform();
        previous = setPlatform(real.get());
        real->setProgramName(programName);
    }
    void writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray readAll(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::unique_ptr<QProcess> start(const QString& program, const QStringList& args) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        for (const auto& [k, v] : env) e.insert(k, v);
        p->setProcessEnvironment(e);
        p->start(program, args);
        EXPECT_TRUE(p->waitForStarted(10000)) << program.toStdString();
        return p;
    }
    int finish(QProcess& p) {
        if (!p.waitForFinished(20000)) {
            ADD_FAILURE() << "did not end";
            p.kill();
            p.waitForFinished(5000);
            return -1;
        }
        return p.exitCode();
    }

    QTemporaryDir tmp;
    QString dir, journal, dialogs, answers, opened;
    std::vector<std::pair<QString, QString>> env;
    std::unique_ptr<test::ScopedEnv> scoped;
    std::unique_ptr<Platform> real;
    Platform* previous = nullptr;
};

// Without the base directory the runner passes, the assistant refuses to start.
TEST_F(PlugIns, InstalledLevelForgeWithoutABaseDirectoryRefusesToStart) {
    auto p = start(dir + "/korvex.wfd/plugins/levelaide/LVLSMITH", {});
    EXPECT_EQ(finish(*p), 0);
    const auto refused = jsonLines(dialogs);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0]["program"].toString(), "LVLSMITH");
    EXPECT_EQ(refused[0]["title"].toString(), "Critical Error.");
}

TEST_F(PlugIns, LevelForgeEditsADemoLevelWithTheStandInEditor) {
    const QString level = dir + "/levels/night market";
    const QByteArray old = readAll(level + "/data1.bin");
    const QByteArray edited = "QFEDIT objects saved in the editor for night market\r\n";
    ASSERT_FALSE(old.isEmpty());
    writeFile(answers, "ok\n"); // the world.dat question
    writeFile(tmp.path() + "/config/Korvex/LevelForge.ini", "[configuration]\r\nfirsttime=YES\r\n");
    useRealPlatform("LVLSMITH");
    lvlsmith::frmMain form(dir.toStdString());
    ASSERT_TRUE(form.Form_Load());
    form.Dir1->setPath(level.toStdString());
    // Each run of the editor rewrites data1.bin; the test marks it first to see the run end.
    auto editorRun = [&](const std::function<void()>& press, size_t run) {
        writeFile(level + "/data1.bin", "pending");
        press();
        ASSERT_TRUE(waitFor([&] { return jsonLines(journal).size() == run && readAll(level + "/data1.bin") == edited; }));
    };

    form.Command1_Click();
    form.Command1_Click();
    EXPECT_EQ(readAll(level + "/data1.qfs"), old);
    EXPECT_FALSE(QFileInfo::exists(level + "/world.dat"));
    editorRun([&] { form.Command3->click(); }, 1);
    form.Command1_Click();
    editorRun([&] { form.Command4->click(); }, 2);
    editorRun([&] { form.Command2->click(); }, 3);
    form.Command1_Click();
    form.Command5->click();
    EXPECT_EQ(readAll(level + "/data1.new"), old + edited);
    EXPECT_EQ(readAll(level + "/QfsBatch.bat"), "@echo off\r\ncls\r\n\r\ncd " + level.toUtf8() +
                                                    "\r\ncopy /B data1.qfs + /B data1.bin /B data1.new\r\ncls\r\n");
    form.Command7->click();
    EXPECT_EQ(readAll(level + "/data1.bin"), old + edited);
    EXPECT_EQ(readAll(level + "/data1.bak"), old);
    EXPECT_EQ(QDir(level).entryList(QDir::Files, QDir::Name), (QStringList{"data1.bak", "data1.bin"}));
    form.Command1_Click();
    form.Option2->setChecked(true);
    form.Command6->click();
    ASSERT_TRUE(waitFor([&] { return jsonLines(journal).size() == 4; }));

    const auto starts = jsonLines(journal);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(starts[i]["as"].toString(), "Game.exe");
        EXPECT_EQ(starts[i]["args"].toArray(), (QJsonArray{"+edit", level, "NullString", "0"}));
    }
    EXPECT_EQ(starts[3]["as"].toString(), "data2edit.exe");
    const auto boxes = jsonLines(dialogs);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0]["title"].toString(), "error.");
    EXPECT_EQ(boxes[1]["title"].toString(), "Information.");
    const auto log = splitLines(readAll(dir + "/korvex.wfd/logs/plg_lvlsmith.log").toStdString());
    EXPECT_NE(std::find(log.begin(), log.end(), ">> Execution successful."), log.end());
    EXPECT_EQ(log[log.size() - 3], ">> Excuted.");
}

} // namespace
} // namespace kx
