#pragma once
// Small helpers of the end-to-end tests, which read what the installed programs leave behind.

#include <QJsonObject>

#include <functional>
#include <string>
#include <vector>

namespace kx::test {

// The file's bytes, "" when it cannot be read (not written yet).
std::string readOrEmpty(const std::string& path);
// One object per non-empty line (the dialog and stand-in journals).
std::vector<QJsonObject> jsonLines(const std::string& path);
// Polls done every 50 ms; false when it is still not true after ms.
bool waitFor(const std::function<bool()>& done, int ms);

} // namespace kx::test
