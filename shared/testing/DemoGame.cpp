#include "shared/testing/DemoGame.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTest>

namespace kx::test {

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

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (done()) return true;
        QTest::qWait(50);
    }
    return done();
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
