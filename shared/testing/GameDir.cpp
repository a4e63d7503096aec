#include "shared/testing/GameDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kx::test {

GameDir::GameDir(const std::string& name) {
    QTemporaryDir tmp(QDir::tempPath() + "/korvex-XXXXXX");
    tmp.setAutoRemove(false);
    if (!tmp.isValid()) throw std::runtime_error("no temporary directory");
    root_ = tmp.path().toStdString();
    path_ = root_ + "/" + name;
    for (const char* d : {"korvex.wfd/config/serversets", "korvex.wfd/config/cyclelists", "korvex.wfd/modules",
                          "korvex.wfd/plugins", "korvex.wfd/skins", "korvex.wfd/templates",
                          "korvex.wfd/helpfiles", "korvex.wfd/logs"})
        QDir().mkpath(QString::fromStdString(path_ + "/" + d));
}

GameDir::~GameDir() { QDir(QString::fromStdString(root_)).removeRecursively(); }

std::string GameDir::file(const std::string& rel) const { return path_ + "/" + rel; }

void GameDir::write(const std::string& rel, const std::string& bytes) const {
    const std::string p = file(rel);
    QDir().mkpath(QFileInfo(QString::fromStdString(p)).path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void GameDir::writeLines(const std::string& rel, const std::vector<std::string>& lines) const {
    std::string bytes;
    for (const auto& l : lines) bytes += l + "\r\n";
    write(rel, bytes);
}

std::string GameDir::read(const std::string& rel) const {
    std::ifstream in(file(rel), std::ios::binary);
    if (!in) return "";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool GameDir::exists(const std::string& rel) const { return QFileInfo::exists(QString::fromStdString(file(rel))); }

void GameDir::touchProgram(const std::string& rel) const {
    write(rel, "#!/bin/false\n");
    QFile::setPermissions(QString::fromStdString(file(rel)),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

std::string buildDir() {
    const char* d = std::getenv("KX_BUILD_DIR");
    return d && *d ? d : KX_DEFAULT_BUILD_DIR;
}

std::string sourceDir() {
    const char* d = std::getenv("KX_SOURCE_DIR");
    return d && *d ? d : KX_DEFAULT_SOURCE_DIR;
}

} // namespace kx::test
