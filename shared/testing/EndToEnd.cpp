#include "shared/testing/EndToEnd.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QThread>

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
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QThread::msleep(50);
    }
    return true;
}

} // namespace kx::test
