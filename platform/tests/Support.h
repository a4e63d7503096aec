#pragma once
// Small tools of the platform tests: temporary folders, environment changes that are undone,
// and the helper program as a second process.

#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kx::test {

class TempDir {
public:
    TempDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    QTemporaryDir dir_;
    std::string path_;
};

// Sets (or with nullopt removes) an environment variable until the end of the scope.
class EnvGuard {
public:
    EnvGuard(const char* name, std::optional<std::string> value);
    ~EnvGuard();
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

struct HelperRun {
    int exitCode = -1;
    std::string out;
};

std::string helperPath();
// Runs the helper to its end (10 s at most) with our environment.
HelperRun runHelper(const std::vector<std::string>& args);
// Starts the helper without waiting; the caller owns the process.
std::unique_ptr<QProcess> startHelper(const std::vector<std::string>& args);

std::string readBytes(const std::string& path); // "" when missing
void writeBytes(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);
// Polls cond (serving events) until it holds or ms pass.
bool waitUntil(const std::function<bool()>& cond, int ms);

} // namespace kx::test
