#pragma once
// Small helpers of the end-to-end tests, which read what the installed programs leave behind.

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kx::test {

// The file's bytes, "" when it cannot be read (not written yet).
std::string readOrEmpty(const std::string& path);
// One object per non-empty line (the dialog and stand-in journals).
std::vector<QJsonObject> jsonLines(const std::string& path);
inline std::vector<QJsonObject> jsonLines(const QString& path) { return jsonLines(path.toStdString()); }
// Serves events every 50 ms until done() holds or ms have passed; gives done()'s last answer.
bool waitFor(const std::function<bool()>& done, int ms = 20000);

// Copies a folder tree with its files' permissions (hidden files too).
void copyTree(const QString& from, const QString& to);

// Sets environment variables (and the current folder, which tests' programs change) for the
// life of the object; the old values come back on destruction, unset ones unset.
class ScopedEnv {
public:
    explicit ScopedEnv(const std::vector<std::pair<QString, QString>>& vars);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
    QString cwd_;
};

// True while pid is a fork that has not called exec yet: it still carries its parent's program
// file and argument vector, so the look-ups below leave it out.
bool forkedWithoutExec(qint64 pid);

// The running processes whose program file is program (compared as canonical paths): in a
// folder of the test's own, only programs the test started.
std::vector<qint64> processesOf(const QString& program);

struct RunningProcess {
    qint64 pid = 0;
    QStringList args; // the argument vector, the program first
};
// The running processes but this one whose program file, or first argument (a script's
// file), lies below folder (a canonical path).
std::vector<RunningProcess> processesBelow(const QString& folder);

// A copy of the demo game directory (<build>/demo-game, laid out by the demo_game fixture) in
// a temporary folder of its own, ready for runs of the installed programs: its own settings
// and runtime folders, an empty answers file, and the paths of the dialog and stand-in journals.
class DemoGame {
public:
    // folder: the copy's name inside the temporary folder (a blank in it is welcome).
    explicit DemoGame(const QString& folder);
    DemoGame(const DemoGame&) = delete;
    DemoGame& operator=(const DemoGame&) = delete;

    // "" when the copy is ready, else why not (no demo game, no temporary folder).
    const QString& problem() const { return problem_; }

    // The variables of a run in this copy: its folders and journals, the window system qpa, and
    // stand-ins that end as soon as they have noted their start.
    std::vector<std::pair<QString, QString>> variables(const QString& qpa = "offscreen") const;
    // The test's own environment with variables(qpa).
    QProcessEnvironment environment(const QString& qpa = "offscreen") const;
    // Starts program with args in workDir under environment(qpa), its output on the test's.
    // false when it has not started within 10 s.
    bool start(QProcess& p, const QString& program, const QStringList& args, const QString& workDir,
               const QString& qpa = "offscreen") const;

    // The launcher's log in the copy, "" before it is written.
    std::string launcherLog() const;

    QString root;    // the temporary folder
    QString game;    // the copy (canonical path)
    QString config, runtime;            // XDG_CONFIG_HOME, XDG_RUNTIME_DIR
    QString dialogs, answers, journal;  // KORVEX_DIALOGS, KORVEX_DIALOG_ANSWERS, KORVEX_STANDIN_JOURNAL

private:
    QTemporaryDir tmp_;
    QString problem_;
};

} // namespace kx::test
