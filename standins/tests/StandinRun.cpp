#include "standins/tests/StandinRun.h"

#include "shared/testing/GameDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <cstdlib>

// Set by the test's CMakeLists.txt; without them only CTest's environment names the trees.
#ifndef KX_CONFIGURED_BUILD_DIR
#define KX_CONFIGURED_BUILD_DIR ""
#endif
#ifndef KX_CONFIGURED_SOURCE_DIR
#define KX_CONFIGURED_SOURCE_DIR ""
#endif

namespace kx::test {

std::string standinBuildDir() {
    const std::string d = buildDir();
    return d.empty() ? KX_CONFIGURED_BUILD_DIR : d;
}

std::string standinSourceDir() {
    const char* d = std::getenv("KX_SOURCE_DIR");
    return d && *d ? d : KX_CONFIGURED_SOURCE_DIR;
}

std::string builtStandin() { return standinBuildDir() + "/standins/standin"; }

void copyStandin(const std::string& dir, const std::string& name) {
    const QString target = QString::fromStdString(dir + "/" + name);
    QFile::remove(target);
    ASSERT_TRUE(QFile::copy(QString::fromStdString(builtStandin()), target)) << builtStandin();
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QProcessEnvironment standinEnvironment(const std::map<QString, QString>& vars) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("KORVEX_STANDIN_JOURNAL");
    env.remove("KORVEX_STANDIN_QUIT");
    for (const auto& [k, v] : vars) env.insert(k, v);
    return env;
}

std::unique_ptr<QProcess> startProgram(const std::string& program, const std::vector<std::string>& args,
                                       const std::string& cwd, const QProcessEnvironment& env) {
    auto p = std::make_unique<QProcess>();
    QStringList list;
    for (const auto& a : args) list << QString::fromLocal8Bit(a.c_str());
    p->setProgram(QString::fromStdString(program));
    p->setArguments(list);
    p->setWorkingDirectory(QString::fromStdString(cwd));
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start();
    return p;
}

int runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
               const QProcessEnvironment& env, int timeoutMs) {
    auto p = startProgram(program, args, cwd, env);
    if (!p->waitForStarted(5000)) return -1;
    if (!p->waitForFinished(timeoutMs)) {
        p->kill();
        p->waitForFinished(2000);
        return -1;
    }
    return p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
}

std::vector<QJsonObject> journalEntries(const std::string& file) {
    std::vector<QJsonObject> out;
    QFile f(QString::fromStdString(file));
    if (!f.open(QIODevice::ReadOnly)) return out;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == lines.size() - 1 && lines[i].isEmpty()) break; // after the last line end
        QJsonParseError err{};
        const QJsonDocument doc = QJsonDocument::fromJson(lines[i], &err);
        EXPECT_TRUE(doc.isObject()) << "line " << i + 1 << ": " << lines[i].toStdString() << " "
                                    << err.errorString().toStdString();
        out.push_back(doc.object());
    }
    return out;
}

std::vector<std::string> entryArgs(const QJsonObject& entry) {
    std::vector<std::string> out;
    for (const auto& v : entry.value("args").toArray()) out.push_back(v.toString().toStdString());
    return out;
}

} // namespace kx::test
