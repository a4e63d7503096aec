#include "Support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <sys/stat.h>

namespace kx::test {

TempDir::TempDir() : dir_(QDir::tempPath() + "/kx-platform-XXXXXX") {
    if (!dir_.isValid()) throw std::runtime_error("no temporary directory");
    path_ = dir_.path().toStdString();
}

EnvGuard::EnvGuard(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* v = std::getenv(name)) old_ = v;
    if (value) ::setenv(name, value->c_str(), 1);
    else ::unsetenv(name);
}

EnvGuard::~EnvGuard() {
    if (old_) ::setenv(name_.c_str(), old_->c_str(), 1);
    else ::unsetenv(name_.c_str());
}

std::string helperPath() { return KX_PLATFORM_HELPER; }

std::unique_ptr<QProcess> startHelper(const std::vector<std::string>& args) {
    auto p = std::make_unique<QProcess>();
    QStringList list;
    for (const auto& a : args) list << QString::fromLocal8Bit(a.data(), qsizetype(a.size()));
    p->setProcessChannelMode(QProcess::SeparateChannels);
    p->start(QString::fromStdString(helperPath()), list);
    p->waitForStarted(5000);
    return p;
}

HelperRun runHelper(const std::vector<std::string>& args) {
    auto p = startHelper(args);
    HelperRun r;
    if (!p->waitForFinished(10000)) {
        p->kill();
        p->waitForFinished(2000);
        return r;
    }
    r.exitCode = p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
    r.out = p->readAllStandardOutput().toStdString();
    return r;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool exists(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0;
}

bool waitUntil(const std::function<bool()>& cond, int ms) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

} // namespace kx::test
