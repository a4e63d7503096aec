#pragma once
// Helpers for end-to-end tests that run in a copy of the demo game directory.

#include <QJsonObject>
#include <QString>

#include <QByteArray>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kx::test {

// Copies a folder tree with its files' permissions (hidden files too).
void copyTree(const QString& from, const QString& to);
// The JSON objects of a file of JSON lines (the stand-in journal, the scripted dialogs);
// empty when the file is missing.
std::vector<QJsonObject> jsonLines(const QString& path);
// Serves events until done() holds or ms have passed; gives done()'s last answer.
bool waitFor(const std::function<bool()>& done, int ms = 20000);

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
