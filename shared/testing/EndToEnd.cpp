#include "shared/testing/EndToEnd.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QByteArray>
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

} // namespace kx::test
