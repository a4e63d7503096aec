// mod_docklet's icon in a real notification area: Debian's trayer on the test's display hosts
// it, and clicks on the icon's window come as X button events, as a user's would.
#include "DockletRun.h"
#include "Form1.h"

#include "platform/Platform.h"
#include "platform/RealPlatform.h"
#include "shared/testing/GameDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace kx::docklet {
namespace {

bool waitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

// The widget Qt embeds into the notification area for a tray icon.
QWidget* trayIconWidget() {
    for (QWidget* w : QApplication::allWidgets())
        if (qstrcmp(w->metaObject()->className(), "QSystemTrayIconSys") == 0) return w;
    return nullptr;
}

// Ends the processes a test started, on every way out of it.
struct Ending {
    std::vector<QProcess*> processes;
    ~Ending() {
        for (QProcess* p : processes) {
            if (p->state() == QProcess::NotRunning) continue;
            p->terminate();
            if (!p->waitForFinished(5000)) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }
};

// trayer on the test's display, once no other notification area runs there.
void startTrayer(QProcess& trayer) {
    // One that has just ended may still be going away.
    ASSERT_TRUE(waitUntil([] { return !QSystemTrayIcon::isSystemTrayAvailable(); }, 5000))
        << "another notification area runs on this display";
    trayer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    trayer.start("trayer", {});
    ASSERT_TRUE(trayer.waitForStarted(5000)) << "trayer is not installed";
    ASSERT_TRUE(waitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000));
}

class XConnection {
public:
    XConnection() : c_(xcb_connect(nullptr, nullptr)) {}
    ~XConnection() { xcb_disconnect(c_); }
    bool ok() const { return !xcb_connection_has_error(c_); }
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root; }

    xcb_window_t parentOf(xcb_window_t w) const {
        auto* r = xcb_query_tree_reply(c_, xcb_query_tree(c_, w), nullptr);
        const xcb_window_t parent = r ? r->parent : XCB_NONE;
        std::free(r);
        return parent;
    }
    bool viewable(xcb_window_t w) const {
        auto* r = xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, w), nullptr);
        const bool v = r && r->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(r);
        return v;
    }
    std::pair<int, int> size(xcb_window_t w) const {
        auto* r = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, w), nullptr);
        const std::pair<int, int> s = r ? std::pair<int, int>{r->width, r->height} : std::pair<int, int>{0, 0};
        std::free(r);
        return s;
    }

    // A press and a release of one button in the middle of the window.
    void click(xcb_window_t w, xcb_button_t button, xcb_timestamp_t time) {
        auto* t = xcb_translate_coordinates_reply(c_, xcb_translate_coordinates(c_, w, root(), 11, 11), nullptr);
        const int16_t rx = t ? t->dst_x : 11, ry = t ? t->dst_y : 11;
        std::free(t);
        for (const uint8_t type : {uint8_t(XCB_BUTTON_PRESS), uint8_t(XCB_BUTTON_RELEASE)}) {
            xcb_button_press_event_t e{};
            e.response_type = type;
            e.detail = button;
            e.time = type == XCB_BUTTON_PRESS ? time : time + 20;
            e.root = root();
            e.event = w;
            e.child = XCB_NONE;
            e.root_x = rx;
            e.root_y = ry;
            e.event_x = 11;
            e.event_y = 11;
            e.state = type == XCB_BUTTON_PRESS ? 0 : uint16_t(XCB_BUTTON_MASK_1 << (button - 1));
            e.same_screen = 1;
            xcb_send_event(c_, false, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
        }
        xcb_flush(c_);
    }

private:
    xcb_connection_t* c_;
};

TEST(DockletTray, TheIconAppearsAndAnswersClicks) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display || QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
    QProcess trayer;
    const Ending endTrayer{{&trayer}};
    ASSERT_NO_FATAL_FAILURE(startTrayer(trayer));

    auto real = makeRealPlatform();
    Platform* previous = setPlatform(real.get());
    real->setProgramName("mod_docklet");
    kx::test::GameDir game;
    {
        auto form = std::make_unique<Form1>(game.path());
        form->Form_Load();

        // The icon appears: Qt's icon window is embedded into trayer's and shown there.
        XConnection x;
        ASSERT_TRUE(x.ok());
        QWidget* icon = nullptr;
        ASSERT_TRUE(waitUntil(
            [&] {
                icon = trayIconWidget();
                return icon && x.parentOf(xcb_window_t(icon->winId())) != x.root() &&
                       x.viewable(xcb_window_t(icon->winId()));
            },
            10000));
        const auto window = xcb_window_t(icon->winId());
        // trayer gives its icons their room (about 22 pixels) once it has laid itself out.
        EXPECT_TRUE(waitUntil([&] { return x.size(window).first >= 16 && x.size(window).second >= 16; }, 5000))
            << x.size(window).first << " x " << x.size(window).second;
        EXPECT_EQ(icon->toolTip().toStdString(), TrayTip);

        // A right click opens the menu; closing it again returns to the icon.
        bool menuShown = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (form->mnuMenu->isVisible()) {
                menuShown = true;
                form->mnuMenu->close();
            }
        });
        watch.start(20);
        x.click(window, XCB_BUTTON_INDEX_3, 100000);
        EXPECT_TRUE(waitUntil([&] { return menuShown; }, 10000)) << "no menu after a right click";
        EXPECT_TRUE(waitUntil([&] { return !form->busy(); }, 5000));
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->mouseMessage(), tray::RightButtonUp);
        watch.stop();

        // A double click opens the info window.
        x.click(window, XCB_BUTTON_INDEX_1, 200000);
        x.click(window, XCB_BUTTON_INDEX_1, 200100);
        EXPECT_TRUE(waitUntil([&] { return form->isVisible(); }, 10000)) << "no info window after a double click";
        EXPECT_EQ(form->mouseMessage(), tray::LeftDoubleClick);
        EXPECT_FALSE(menuShown && form->mnuMenu->isVisible());
        form->hide();
    } // the form's end takes the icon down
    EXPECT_TRUE(waitUntil([] { return trayIconWidget() == nullptr || !trayIconWidget()->isVisible(); }, 5000));
    setPlatform(previous);
}

// The built program with trayer up: it keeps running with its icon, and a second start
// ends at once.
TEST(DockletTray, TheProgramRunsOnceWithItsIcon) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display || QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
    QProcess trayer;
    QProcess first, second;
    const Ending end{{&first, &second, &trayer}};
    ASSERT_NO_FATAL_FAILURE(startTrayer(trayer));

    kx::test::GameDir game("Quell fort");
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QProcessEnvironment env = test::dockletEnvironment(tmp.path(), "xcb");
    const QString program = QString::fromStdString(kx::test::buildDir() + "/modules/docklet/mod_docklet");
    for (QProcess* p : {&first, &second}) {
        p->setProcessEnvironment(env);
        p->setProgram(program);
        p->setArguments({QString::fromStdString(game.path())});
    }
    first.start();
    ASSERT_TRUE(first.waitForStarted(5000));
    EXPECT_FALSE(first.waitForFinished(2000)) << first.readAllStandardError().toStdString();
    second.start();
    EXPECT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_FALSE(QFile::exists(tmp.path() + "/dialogs.jsonl")) << "no box";

}

} // namespace
} // namespace kx::docklet
