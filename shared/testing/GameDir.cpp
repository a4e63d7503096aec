#include "shared/testing/GameDir.h"

#include <QFile>

#include <cstdlib>

namespace kx::test {

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
