#pragma once
// A game directory with the files the dedicated-server module reads, a recording platform,
// and the module's windows reset around every test.

#include "ModuleState.h"

#include "platform/FakePlatform.h"
#include "shared/testing/GameDir.h"
#include "core/RunError.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class QListWidget;

namespace kx::arenawarden {

class TextBox;
class frmCfgServ;

// A recording platform that can act while a box is up, as a nested event loop would.
class BoxHookPlatform : public FakePlatform {
public:
    std::function<void()> onBox;
    int msgBox(const std::string& text, int style, const std::string& title) override {
        if (onBox) {
            auto hook = onBox;
            hook();
        }
        return FakePlatform::msgBox(text, style, title);
    }
    // A settings store that cannot be read or written: the run error to raise, 0 for none.
    int getSettingError = 0, saveSettingError = 0;
    std::string getSetting(const std::string& app, const std::string& section, const std::string& key) override {
        if (getSettingError) throw RunError(getSettingError);
        return FakePlatform::getSetting(app, section, key);
    }
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override {
        if (saveSettingError) throw RunError(saveSettingError);
        FakePlatform::saveSetting(app, section, key, value);
    }
};

class ArenaTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // korvex.cfg with the dedicated server's keys (values as the set-up writes them).
    void writeConfig(const std::string& maxpl = " 6", const std::string& gamet = " 1",
                     const std::string& gamen = "Bob's Game", const std::string& mpmap = "the bunker");
    // levels.nfo in the game's column layout.
    void writeLevels(const std::vector<std::string>& names);
    void writeSet(const std::string& file, const std::vector<std::string>& lines);
    void handOver(const std::string& value);
    std::string setting() const;
    // Loads the configuration window; fails the test when the load made it go.
    frmCfgServ& cfg();
    // The next case of a table: the module's windows and state afresh, the files as they are.
    void nextCase() {
        resetModule();
        state().korvexDir = dir.path();
    }

    BoxHookPlatform fake;
    test::GameDir dir;
};

std::vector<std::string> items(const QListWidget* list);
std::vector<std::string> logLines(const TextBox* box);
std::vector<std::string> boxTexts(const FakePlatform& f);

inline const std::string kWelcome = "Welcome, admin.\r\nThis module runs your server.\r\n";

} // namespace kx::arenawarden
