// mod_nameprobe's start-up procedure against the recording platform.
#include "Startup.h"

#include "platform/FakePlatform.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kx::nameprobe {
namespace {

class NameProbe : public ::testing::Test {
protected:
    void SetUp() override { fake.setProgramName("mod_nameprobe"); }
    FakePlatform fake;
};

TEST_F(NameProbe, LooksUpBeforeTheWindowAppears) {
    fake.dns["Game.Example"] = {"192.0.2.10", "192.0.2.11"};
    auto form = Main("Game.Example");
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"socketsStart", "resolve(Game.Example)", "socketsStop"}));
    EXPECT_EQ(fromUi(form->Label1->text()), "Query for DNS : 'Game.Example'...");
    EXPECT_EQ(form->Label1->textFormat(), Qt::PlainText);
    EXPECT_EQ(form->Label2->text(), "Reported Ip:");
    EXPECT_EQ(form->Text1->text(), "192.0.2.10"); // the first address of the host's list
    EXPECT_EQ(form->windowTitle(), "joiner dns lookup");
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(fake.boxes.empty());

    form->Command1->click();
    EXPECT_TRUE(form->unloaded());
}

TEST_F(NameProbe, NameNotFoundShowsAnEmptyAddress) {
    // A directory path, as the module starter would pass, is just a name that is not found.
    auto form = Main("/games/Quell fort");
    EXPECT_EQ(form->Text1->text(), "");
    EXPECT_EQ(fromUi(form->Label1->text()), "Query for DNS : '/games/Quell fort'...");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(NameProbe, EmptyCommandLineEndsWithItsBox) {
    EXPECT_THROW(Main(""), ProgramEnded);
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"msgBox(Could not retreive DNS Name...\r\naborting.|16|Error.)",
                                                    "end(0)"}));
}

TEST_F(NameProbe, SocketServiceThatDoesNotStartEndsWithThePlainBox) {
    fake.socketsStartResult = 10091;
    EXPECT_THROW(Main("Game.Example"), ProgramEnded);
    EXPECT_EQ(fake.calls, (std::vector<std::string>{
                              "socketsStart",
                              "msgBox(Windows Sockets for 32 bit Windows is not successfully responding.|0|mod_nameprobe)",
                              "end(0)"}));
}

TEST_F(NameProbe, FailedStopWarnsAndTheWindowStillShows) {
    fake.socketsStopResult = 10093;
    fake.dns["h"] = {"10.0.0.1"};
    auto form = Main("h");
    EXPECT_EQ(fake.calls,
              (std::vector<std::string>{"socketsStart", "resolve(h)", "socketsStop",
                                        "msgBox(Windows Sockets error occurred in Cleanup.|48|mod_nameprobe)"}));
    EXPECT_EQ(form->Text1->text(), "10.0.0.1");
    EXPECT_TRUE(form->isVisible());
}

// The window closes on Escape as on "Close", from whichever control has the focus.
TEST_F(NameProbe, EscapeIsClose) {
    for (int focus = 0; focus < 2; ++focus) {
        auto form = Main("h");
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QWidget* at = focus == 0 ? static_cast<QWidget*>(form->Text1) : form->Command1;
        at->setFocus();
        QTest::keyClick(at, Qt::Key_Return);
        EXPECT_EQ(form->unloaded(), at == form->Command1); // Return presses only a focused "Close"
        QTest::keyClick(at, Qt::Key_Escape);
        EXPECT_TRUE(form->unloaded());
        EXPECT_FALSE(form->isVisible());
    }
}

// The host name is the whole command line: a very long one is cut to the window, which keeps
// its size, and shows at once.
TEST_F(NameProbe, AVeryLongHostNameDoesNotStretchTheWindow) {
    const QSize usual = Main("h")->size();
    const std::string host(2 * 1024 * 1024, 'h');
    QElapsedTimer timer;
    timer.start();
    auto form = Main(host);
    QCoreApplication::processEvents();
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(form->size(), usual);
    EXPECT_TRUE(form->Label1->text().startsWith("Query for DNS : 'hhh"));
    EXPECT_LE(form->Label1->text().size(), kShownLabel + 1);
}

} // namespace
} // namespace kx::nameprobe
