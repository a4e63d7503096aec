#pragma once
// Small helpers of the end-to-end tests, which read what the installed programs leave behind.

#include <QByteArray>
#include <QJsonObject>
#include <QString>

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

} // namespace kx::test
