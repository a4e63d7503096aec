#pragma once
// A game directory with the shipped script templates, a recording platform, and the script
// editor's main window on it.

#include "frmMain.h"

#include "platform/FakePlatform.h"
#include "shared/testing/GameDir.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kx::quillroom {

class frmSaveTo;

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    // The window as Main leaves it, on the files as they are now.
    frmMain& editor();
    // Replaces the shipped template files of a kind (and the common header).
    void writeTemplates(int kind, const std::vector<std::string>& common, const std::vector<std::string>& header,
                        const std::vector<std::string>& body);
    // The texts of the boxes shown so far.
    std::vector<std::string> boxTexts() const;
    std::string errorBox(const std::string& description, int number) const {
        return "An error occured while performing the specified task.\r\n" + description + ", " +
               std::to_string(number);
    }
    // A new script of the kind made as the chooser makes it, then "Save Current Script":
    // the save dialog it opened (nullptr when none).
    frmSaveTo* newScriptSaveDialog(int kind);
    // Runs the deletions that closed windows left pending.
    static void deletePending() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    // Types text at the end of the editing area.
    void type(const std::string& text);
    std::string editorBytes();

    FakePlatform fake;
    test::GameDir g;
    std::unique_ptr<frmMain> main_;
};

} // namespace kx::quillroom
