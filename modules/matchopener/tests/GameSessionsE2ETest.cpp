// The game-session modules end to end in a copy of the demo game directory: the host and join
// windows start the stand-in game through the real platform (a scripted answer cannot press a
// form button, so the window runs in this process), and the installed programs are started
// the way the launcher starts them.
#include "frmHost.h"
#include "frmJoiner.h"

#include "shared/testing/GameDir.h"
#include "platform/Platform.h"
#include "platform/RealPlatform.h"
#include "core/Text.h"

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

namespace kx {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QString buildTree() {
    const std::string fromEnv = test::buildDir();
    return fromEnv.empty() ? QStringLiteral(KX_CONFIGURED_BUILD_DIR) : q(fromEnv);
}

void copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString target = to + "/" + QDir(from).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir()) {
            QDir().mkpath(target);
        } else {
            QFile::copy(it.filePath(), target);
            QFile::setPermissions(target, it.fileInfo().permissions());
        }
    }
}

std::vector<QJsonObject> jsonLines(const QString& path) {
    std::vector<QJsonObject> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return out;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (!line.trimmed().isEmpty()) out.push_back(QJsonDocument::fromJson(line).object());
    return out;
}

std::vector<std::string> strings(const QJsonArray& a) {
    std::vector<std::string> out;
    for (const auto& v : a) out.push_back(v.toString().toStdString());
    return out;
}

class GameSessions : public ::testing::Test {
protected:
    void SetUp() override {
        const QString demo = buildTree() + "/demo-game";
        if (!QFileInfo(demo + "/Game.exe").isFile()) GTEST_SKIP() << "no demo game directory at " << demo.toStdString();
        ASSERT_TRUE(tmp.isValid());
        dir = tmp.path() + "/Demo Game"; // a base directory with a blank in it
        copyTree(demo, dir);
        journal = tmp.path() + "/journal.jsonl";
        dialogs = tmp.path() + "/dialogs.jsonl";
        QDir().mkpath(tmp.path() + "/config");
        QDir().mkpath(tmp.path() + "/runtime");
        env = {{"KORVEX_STANDIN_JOURNAL", journal},
               {"KORVEX_STANDIN_QUIT", "1"},
               {"KORVEX_DIALOGS", dialogs},
               {"KORVEX_DIALOG_ANSWERS", tmp.path() + "/answers"},
               {"XDG_CONFIG_HOME", tmp.path() + "/config"},
               {"XDG_RUNTIME_DIR", tmp.path() + "/runtime"},
               {"QT_QPA_PLATFORM", "offscreen"}};
        for (const auto& [k, v] : env) {
            const QByteArray name = k.toLatin1();
            saved.emplace_back(name, qEnvironmentVariableIsSet(name.constData())
                                         ? std::optional<QByteArray>(qgetenv(name.constData()))
                                         : std::nullopt);
            qputenv(name.constData(), v.toLocal8Bit());
        }
        oldCwd = QDir::currentPath();
    }
    void TearDown() override {
        if (real) setPlatform(previous);
        if (!oldCwd.isEmpty()) QDir::setCurrent(oldCwd);
        for (const auto& [name, value] : saved) {
            if (value) qputenv(name.constData(), *value);
            else qunsetenv(name.constData());
        }
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
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        for (const auto& [k, v] : env) e.insert(k, v);
        p.setProcessEnvironment(e);
        p.start(dir + "/korvex.wfd/modules/" + program, args);
        EXPECT_TRUE(p.waitForStarted(10000)) << program.toStdString();
        if (!p.waitForFinished(20000)) {
            ADD_FAILURE() << program.toStdString() << " did not end";
            p.kill();
            p.waitForFinished(5000);
            return -1;
        }
        return p.exitCode();
    }

    QTemporaryDir tmp;
    QString dir, journal, dialogs, oldCwd;
    std::vector<std::pair<QString, QString>> env;
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved;
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
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const auto& [k, v] : env) e.insert(k, v);
    first.setProcessEnvironment(e);
    first.start(dir + "/korvex.wfd/modules/mod_nameprobe", {"localhost"});
    ASSERT_TRUE(first.waitForStarted(10000));
    // The first copy holds its lock once it runs; it waits for its window to be closed.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000 && QDir(tmp.path() + "/runtime").entryList(QDir::Files).isEmpty()) QTest::qWait(50);
    EXPECT_FALSE(first.waitForFinished(500));

    EXPECT_EQ(runInstalled("mod_nameprobe", {"localhost"}), 0);
    EXPECT_TRUE(jsonLines(dialogs).empty());

    first.kill();
    first.waitForFinished(5000);
}

} // namespace
} // namespace kx
