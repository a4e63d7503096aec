#pragma once
// Starting the stand-in from a test and reading what it left in its journal.

#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kx::test {

// The build and source trees: KX_BUILD_DIR / KX_SOURCE_DIR as CTest sets them, else the
// trees this test was configured in.
std::string standinBuildDir();
std::string standinSourceDir();

// The stand-in as built (<build>/standins/standin).
std::string builtStandin();

// Copies the built stand-in to dir/name, executable.
void copyStandin(const std::string& dir, const std::string& name);

// Environment for a start: the test's own, without the stand-in's variables, plus these.
QProcessEnvironment standinEnvironment(const std::map<QString, QString>& vars);

// Starts program with args in cwd; the caller waits or ends it.
std::unique_ptr<QProcess> startProgram(const std::string& program, const std::vector<std::string>& args,
                                       const std::string& cwd, const QProcessEnvironment& env);

// Runs to the end (at most timeoutMs); the exit code, -1 when it crashed or did not end.
int runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
               const QProcessEnvironment& env, int timeoutMs = 20000);

// Every line of a journal file, parsed; a line that is not a JSON object fails the test.
std::vector<QJsonObject> journalEntries(const std::string& file);

// The "args" of an entry as byte strings (UTF-8 of the JSON text).
std::vector<std::string> entryArgs(const QJsonObject& entry);

} // namespace kx::test
