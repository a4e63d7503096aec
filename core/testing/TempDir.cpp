#include "core/testing/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kx::test {

TempDir::TempDir(const std::string& name) {
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

TempDir::~TempDir() { QDir(QString::fromStdString(root_)).removeRecursively(); }

std::string TempDir::file(const std::string& rel) const { return path_ + "/" + rel; }

void TempDir::write(const std::string& rel, const std::string& bytes) const {
    const std::string p = file(rel);
    QDir().mkpath(QFileInfo(QString::fromStdString(p)).path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void TempDir::writeLines(const std::string& rel, const std::vector<std::string>& lines) const {
    std::string bytes;
    for (const auto& l : lines) bytes += l + "\r\n";
    write(rel, bytes);
}

std::string TempDir::read(const std::string& rel) const {
    std::ifstream in(file(rel), std::ios::binary);
    if (!in) return "";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TempDir::exists(const std::string& rel) const { return QFileInfo::exists(QString::fromStdString(file(rel))); }

} // namespace kx::test
