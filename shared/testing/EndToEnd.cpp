#include "shared/testing/EndToEnd.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/testing/GameDir.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace kx::test {

std::string readOrEmpty(const std::string& path) {
    try {
        return readFile(path);
    } catch (const RunError&) {
        return "";
    }
}

std::vector<QJsonObject> jsonLines(const std::string& path) {
    std::vector<QJsonObject> out;
    for (const auto& line : splitLines(readOrEmpty(path)))
        if (!line.empty()) out.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(line)).object());
    return out;
}

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (done()) return true;
        QTest::qWait(50);
    }
    return done();
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

ScopedEnv::ScopedEnv(const std::vector<std::pair<QString, QString>>& vars) : cwd_(QDir::currentPath()) {
    for (const auto& [k, v] : vars) {
        const QByteArray name = k.toLatin1();
        saved_.emplace_back(name, qEnvironmentVariableIsSet(name.constData())
                                      ? std::optional<QByteArray>(qgetenv(name.constData()))
                                      : std::nullopt);
        qputenv(name.constData(), v.toLocal8Bit());
    }
}

ScopedEnv::~ScopedEnv() {
    QDir::setCurrent(cwd_);
    for (const auto& [name, value] : saved_) {
        if (value) qputenv(name.constData(), *value);
        else qunsetenv(name.constData());
    }
}

bool forkedWithoutExec(qint64 pid) {
    QFile stat("/proc/" + QString::number(pid) + "/stat");
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = stat.readAll();
    // The name in parentheses may hold blanks and ")": the fields start after the last one.
    const qsizetype end = text.lastIndexOf(')');
    if (end < 0) return false;
    const QList<QByteArray> fields = text.mid(end + 1).simplified().split(' ');
    // state ppid pgrp session tty_nr tpgid flags ...
    if (fields.size() < 7) return false;
    bool ok = false;
    const qulonglong flags = fields[6].toULongLong(&ok);
    constexpr qulonglong kForkNoExec = 0x40; // the kernel's PF_FORKNOEXEC, cleared by exec
    return ok && (flags & kForkNoExec) != 0;
}

namespace {
// Calls f(pid, its /proc folder) for every process but init. A process that was forked and
// has not yet called exec is left out: it still shows its parent's program file and argument
// vector (a program opening a document forks before it runs the opener), yet it is no second
// run of that program.
template <typename F>
void forEachProcess(F&& f) {
    for (const QString& name : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const qint64 pid = name.toLongLong(&ok);
        if (ok && pid > 1 && !forkedWithoutExec(pid)) f(pid, "/proc/" + name);
    }
}
} // namespace

std::vector<qint64> processesOf(const QString& program) {
    std::vector<qint64> out;
    const QString wanted = QFileInfo(program).canonicalFilePath();
    if (wanted.isEmpty()) return out;
    forEachProcess([&](qint64 pid, const QString& proc) {
        if (QFileInfo(proc + "/exe").symLinkTarget() == wanted) out.push_back(pid);
    });
    return out;
}

std::vector<RunningProcess> processesBelow(const QString& folder) {
    std::vector<RunningProcess> out;
    const QString prefix = folder + "/";
    forEachProcess([&](qint64 pid, const QString& proc) {
        if (pid == QCoreApplication::applicationPid()) return;
        QFile cmd(proc + "/cmdline");
        if (!cmd.open(QIODevice::ReadOnly)) return;
        QStringList args;
        for (const QByteArray& a : cmd.readAll().split('\0')) args << QString::fromLocal8Bit(a);
        if (!args.isEmpty() && args.back().isEmpty()) args.removeLast();
        const QString exe = QFileInfo(proc + "/exe").symLinkTarget();
        if (exe.startsWith(prefix) || (args.size() > 1 && args[1].startsWith(prefix))) out.push_back({pid, args});
    });
    return out;
}

DemoGame::DemoGame(const QString& folder) {
    const QString demo = QString::fromStdString(buildDir()) + "/demo-game";
    if (!QFileInfo(demo + "/QFKorvex").isExecutable()) {
        problem_ = "no demo game directory at " + demo;
        return;
    }
    if (!tmp_.isValid()) {
        problem_ = "no temporary folder";
        return;
    }
    root = QFileInfo(tmp_.path()).canonicalFilePath();
    copyTree(demo, root + "/" + folder);
    game = QFileInfo(root + "/" + folder).canonicalFilePath();
    config = root + "/config";
    runtime = root + "/runtime";
    dialogs = root + "/dialogs.jsonl";
    answers = root + "/answers.txt";
    journal = root + "/journal.jsonl";
    QDir().mkpath(config);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile a(answers);
    if (!a.open(QIODevice::WriteOnly)) problem_ = "no answers file " + answers; // none: every box is answered OK
}

std::vector<std::pair<QString, QString>> DemoGame::variables(const QString& qpa) const {
    return {{"QT_QPA_PLATFORM", qpa},
            {"XDG_CONFIG_HOME", config},
            {"XDG_RUNTIME_DIR", runtime},
            {"KORVEX_DIALOGS", dialogs},
            {"KORVEX_DIALOG_ANSWERS", answers},
            {"KORVEX_STANDIN_JOURNAL", journal},
            {"KORVEX_STANDIN_QUIT", "1"}};
}

QProcessEnvironment DemoGame::environment(const QString& qpa) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : variables(qpa)) env.insert(name, value);
    return env;
}

std::string DemoGame::launcherLog() const {
    return readOrEmpty(resolvePath(game.toStdString(), "Korvex.wfd/Logs/Korvex.log"));
}

bool DemoGame::start(QProcess& p, const QString& program, const QStringList& args, const QString& workDir,
                     const QString& qpa) const {
    p.setProcessEnvironment(environment(qpa));
    p.setWorkingDirectory(workDir);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(program, args);
    return p.waitForStarted(10000);
}

} // namespace kx::test
