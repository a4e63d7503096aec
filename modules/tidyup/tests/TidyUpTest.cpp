// The log cleaner: which logs go, what the window says, its pauses and its end.
#include "frmOutPut.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/FakePlatform.h"
#include "shared/testing/GameDir.h"

#include <QEvent>
#include <QLabel>
#include <QTest>

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>

using namespace kx;
using namespace kx::tidyup;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// Records the status each time the label is painted, so that "repaints at once" is what is seen.
class PaintWatcher : public QObject {
public:
    explicit PaintWatcher(QLabel* label) : QObject(label), label_(label) { label->installEventFilter(this); }
    std::vector<std::string> shown;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == label_ && e->type() == QEvent::Paint) {
            const std::string text = fromUi(label_->text());
            if (shown.empty() || shown.back() != text) shown.push_back(text);
        }
        return false;
    }

private:
    QLabel* label_;
};

// Lets a test change the disk while the module pauses.
class SleepHookPlatform : public FakePlatform {
public:
    std::function<void(int)> onSleep;
    void sleepMs(int ms) override {
        FakePlatform::sleepMs(ms);
        if (onSleep) onSleep(ms);
    }
};

class TidyUpTest : public ::testing::Test {
protected:
    kx::test::GameDir dir{"Quell fort"};
    SleepHookPlatform fake;
    frmOutPut form;
    PaintWatcher* watcher = new PaintWatcher(form.Label2);

    // The real doEvents would expose the window; the fake's does not.
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void log(const std::string& name, long long bytes) { dir.write("korvex.wfd/logs/" + name, std::string(bytes, 'x')); }
    // Runs the module to its end; true when it ended through the platform.
    bool run(const std::string& commandLine) {
        try {
            form.run(commandLine);
        } catch (const ProgramEnded&) {
            return true;
        }
        return false;
    }
};

} // namespace

TEST(LogSizeKB, RoundsHalfToEvenIn64Bits) {
    struct Case {
        long long bytes, kb;
    };
    const std::vector<Case> cases = {
        {0, 0},         {511, 0},       {512, 0},        {513, 1},        {1536, 2},
        {61952, 60},    {61953, 61},    {62976, 62},     {33553408, 32767}, {33553920, 32768}, {33554944, 32768},
        {5000000000LL, 4882812},
    };
    for (const auto& c : cases) EXPECT_EQ(logSizeKB(c.bytes), c.kb) << c.bytes;
}

TEST_F(TidyUpTest, DeletesLogsOverSixtyKBWithItsStatusTextsAndPauses) {
    log("big.log", 61953);
    log("edge.log", 61952);
    log("Empty.LOG", 0);
    log("keep.txt", 100000);
    log("old.log.bak", 100000);
    dir.write("korvex.wfd/logs/dir.log/inner", "a folder named like a log");

    EXPECT_TRUE(run(dir.path()));
    EXPECT_FALSE(dir.exists("korvex.wfd/logs/big.log"));
    EXPECT_TRUE(dir.exists("korvex.wfd/logs/edge.log"));
    EXPECT_TRUE(dir.exists("korvex.wfd/logs/Empty.LOG"));
    EXPECT_TRUE(dir.exists("korvex.wfd/logs/keep.txt"));
    EXPECT_TRUE(dir.exists("korvex.wfd/logs/old.log.bak"));
    EXPECT_TRUE(dir.exists("korvex.wfd/logs/dir.log/inner"));

    EXPECT_THAT(watcher->shown,
                ElementsAreArray({"Processing...",
                                  "big.log...", "big.log... 61 KB", "big.log... 61 KB -> Killing.",
                                  "edge.log...", "edge.log... 60 KB", "edge.log... 60 KB -> Ok.",
                                  "Empty.LOG...", "Empty.LOG... 0 KB", "Empty.LOG... 0 KB -> Ok.", "Finished."}));
    EXPECT_THAT(fake.sleeps, ElementsAreArray({150, 150, 100, 150, 150, 100, 150, 150, 100, 150, 150}));
    EXPECT_EQ(form.windowTitle(), "Cleaning Korvex...");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(fake.endCode, 0);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(TidyUpTest, NoLogsOrNoLogFolderFinishesAtOnce) {
    for (bool folder : {true, false}) {
        SCOPED_TRACE(folder);
        if (!folder) std::filesystem::remove(dir.file("korvex.wfd/logs"));
        fake.sleeps.clear();
        EXPECT_TRUE(run(dir.path()));
        EXPECT_THAT(fake.sleeps, ElementsAre(150, 150));
        EXPECT_EQ(fromUi(form.Label2->text()), "Finished.");
    }
}

// The folder is found whatever its case, as the launcher spells it Korvex.wfd/Logs.
TEST_F(TidyUpTest, FindsTheLogFolderIgnoringCase) {
    std::filesystem::remove(dir.file("korvex.wfd/logs"));
    dir.write("korvex.wfd/Logs/Korvex.log", std::string(70000, 'x'));
    EXPECT_TRUE(run(dir.path()));
    EXPECT_FALSE(dir.exists("korvex.wfd/Logs/Korvex.log"));
}

// A log that cannot be deleted is reported in the status and the next one is still cleaned.
// (Run as root, permission bits block nothing: a folder put in the log's place refuses unlink.)
TEST_F(TidyUpTest, GoesOnPastALogItCannotDelete) {
    log("a.log", 70000);
    log("b.log", 70000);
    const std::string a = dir.file("korvex.wfd/logs/a.log");
    fake.onSleep = [&](int) {
        if (fileExists(a)) {
            std::filesystem::remove(a);
            std::filesystem::create_directory(a);
        }
    };
    EXPECT_TRUE(run(dir.path()));
    EXPECT_THAT(watcher->shown, ::testing::Contains("a.log... 68 KB -> Killing. (Path/File access error)"));
    EXPECT_THAT(watcher->shown, ::testing::Contains("b.log... 68 KB -> Killing."));
    EXPECT_FALSE(dir.exists("korvex.wfd/logs/b.log"));
}

TEST_F(TidyUpTest, EmptyCommandLineShowsTheCriticalBoxAndDeletesNothing) {
    log("big.log", 70000);
    EXPECT_TRUE(run(""));
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
    EXPECT_EQ(fake.boxes[0].style, 16);
    EXPECT_TRUE(dir.exists("korvex.wfd/logs/big.log"));
}

// The shrinking counts its own steps: a window that keeps its height still ends the module.
TEST_F(TidyUpTest, ShrinkingEndsEvenWhenTheWindowWillNotGetSmaller) {
    form.setMinimumHeight(200);
    form.show();
    EXPECT_THROW(form.FinishCleaning(), ProgramEnded);
    EXPECT_GE(form.height(), 200);
    EXPECT_GT(form.shrinkSteps(), 0);
    EXPECT_LT(form.shrinkSteps(), 200);
}

// The shrinking counts the window's outer height (title bar and frame included) down to 600
// twips in steps of 20, so the client area nearly vanishes before the window closes.
TEST_F(TidyUpTest, ShrinksTheOuterWindowHeightTo600Twips) {
    const int outerTwips = form.frameGeometry().height() * 15;
    ASSERT_GT(form.frameGeometry().height(), form.height()) << "this platform gives the window no frame";
    EXPECT_THROW(form.FinishCleaning(), ProgramEnded);
    EXPECT_EQ(form.shrinkSteps(), (outerTwips - 600 + 19) / 20);
    EXPECT_LE(form.frameGeometry().height() * 15, 600);
    EXPECT_GT(form.frameGeometry().height() * 15, 600 - 20 - 15);
}
