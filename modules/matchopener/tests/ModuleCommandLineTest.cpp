// The module command-line check in each of the ways the modules run it.
#include "platform/FakePlatform.h"
#include "shared/testing/GameDir.h"
#include "shared/ModuleCommandLine.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

struct Variant {
    const char* who;
    ModuleCheck check;
    const char* firstLine;
};

const Variant kVariants[] = {
    {"routine (skin chooser, editors, tray, cleaner)", {false, true}, "The Execution of the module failed."},
    {"dedicated server", {true, true}, "The execution of the module failed."},
    {"host and join modules", {false, false}, "The Execution of the module failed."},
    {"defaults writer and chat pages", {false, false}, "The Execution of the module failed."},
    {"link library", {false, true}, "The Execution of the module failed."},
};

TEST(CheckModuleCommandLine, EveryVariant) {
    test::GameDir game("Quell fort 2");
    for (const auto& v : kVariants) {
        SCOPED_TRACE(v.who);
        {
            // Empty: the fixed box with a lone CR between its lines, nothing else.
            FakePlatform fake;
            EXPECT_FALSE(checkModuleCommandLine("", v.check).has_value());
            ASSERT_EQ(fake.calls.size(), 1u);
            ASSERT_EQ(fake.boxes.size(), 1u);
            EXPECT_EQ(fake.boxes[0].text, std::string(v.firstLine) + "\rPlease reinstall Korvex.");
            EXPECT_EQ(fake.boxes[0].style, 16);
            EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
        }
        {
            // A directory with blanks is one KorvexDir, made current only where the module asks.
            FakePlatform fake;
            const auto dir = checkModuleCommandLine(game.path(), v.check);
            ASSERT_TRUE(dir.has_value());
            EXPECT_EQ(*dir, game.path());
            EXPECT_TRUE(fake.boxes.empty());
            EXPECT_EQ(fake.current, v.check.changeDirectory ? game.path() : std::string());
            EXPECT_EQ(fake.calls.size(), v.check.changeDirectory ? 1u : 0u);
        }
        {
            // A directory that cannot be entered ends the module with the directory named.
            FakePlatform fake;
            const std::string missing = game.path() + "/no such dir";
            EXPECT_FALSE(checkModuleCommandLine(missing, v.check).has_value());
            ASSERT_EQ(fake.boxes.size(), 1u);
            EXPECT_EQ(fake.boxes[0].text.rfind(std::string(v.firstLine) + "\r", 0), 0u);
            EXPECT_NE(fake.boxes[0].text.find(missing), std::string::npos);
            EXPECT_EQ(fake.boxes[0].style, 16);
            EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
            EXPECT_EQ(fake.current, "");
        }
    }
}

} // namespace
} // namespace kx
