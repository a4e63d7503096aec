#pragma once
// A game directory (with a blank in its path), a recording platform whose timeline holds the
// launcher log's lines between the calls they were written before, and a fresh launcher.

#include "platform/FakePlatform.h"
#include "shared/testing/GameDir.h"
#include "shared/KorvexConfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kx::launcher::test {

// The entries of a timeline or log from the first equal to from up to, not including, the next
// equal to to; empty when from is not there.
std::vector<std::string> between(const std::vector<std::string>& t, const std::string& from, const std::string& to);

// Each platform call and each status shown, in order, with the log lines written before it.
class TimelinePlatform : public FakePlatform {
public:
    std::string logFile;
    std::vector<std::string> timeline;
    size_t logLinesSeen = 0;

    void syncLog();
    void note(const std::string& entry);

    int msgBox(const std::string& text, int style, const std::string& title) override;
    void startProcess(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workDir, int windowStyle) override;
    void sleepMs(int ms) override;
    void doEvents() override;
    [[noreturn]] void endProgram(int exitCode) override;
};

class LauncherTest : public ::testing::Test {
protected:
    kx::test::GameDir dir{"Quell fort"};
    TimelinePlatform fake;

    void SetUp() override;
    void TearDown() override;

    const std::string& D() const { return dir.path(); }
    std::vector<std::string> logLines() const;
    // A program file for every module key the menus start, and the game.
    void installModules() const;
    // The set-up's korvex.cfg for these values.
    void writeConfig(const ConfigValues& v) const;
    static ConfigValues bobsValues();
    // Runs the loader on the splash window's first tick; records the statuses it shows.
    void runLoader();
    // A new process: no windows, no values, an empty log and timeline.
    void freshRun();
};

} // namespace kx::launcher::test
