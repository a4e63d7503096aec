// Real top-level windows and the tray under Xvfb: the window closer lists and closes the
// stand-in's dedicated-server window, titles come as Windows-1252, a manager's client list and
// close request are used when a manager announces itself, and the tray takes an icon when a
// notification area runs.
#include "platform/RealPlatform.h"
#include "Support.h"

#include <QApplication>
#include <QImage>
#include <QProcessEnvironment>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace {
// The test main starts Qt on the platform CTest names (xcb); with no display to talk to it
// must not abort before the tests can skip.
const bool offscreenWithoutDisplay = [] {
    const char* d = std::getenv("DISPLAY");
    if (!d || !*d) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return true;
}();
} // namespace

namespace kx {
namespace {

const char* const kDedicatedTitle = "Quellfort dedicated server on port 24711";

bool haveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

// What the tests ask the X server themselves, on a connection of their own.
class XProbe {
public:
    explicit XProbe(const char* display = nullptr) {
        c_ = xcb_connect(display, nullptr);
        if (xcb_connection_has_error(c_)) return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    }
    ~XProbe() { xcb_disconnect(c_); }
    bool ok() const { return root_ != 0; }
    xcb_connection_t* c() const { return c_; }
    xcb_window_t root() const { return root_; }

    xcb_atom_t atom(const char* name) {
        auto* r = xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : 0;
        std::free(r);
        return a;
    }
    std::uint32_t cardinal(xcb_window_t w, const char* prop) {
        auto* r = xcb_get_property_reply(c_, xcb_get_property(c_, 0, w, atom(prop), XCB_ATOM_CARDINAL, 0, 1), nullptr);
        std::uint32_t v = 0;
        if (r && xcb_get_property_value_length(r) == 4) std::memcpy(&v, xcb_get_property_value(r), 4);
        std::free(r);
        return v;
    }
    void setWindows(xcb_window_t w, const char* prop, const std::vector<xcb_window_t>& list) {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w, atom(prop), XCB_ATOM_WINDOW, 32, uint32_t(list.size()),
                            list.data());
        xcb_flush(c_);
    }

private:
    xcb_connection_t* c_ = nullptr;
    xcb_window_t root_ = 0;
};

// A window of ours among the listed ones: the exact title, from the process we started
// (other tests may show the same title on this display at the same time).
std::optional<TopWindow> findWindow(Platform& p, const std::string& title, qint64 pid) {
    XProbe x;
    for (const auto& w : p.topWindows())
        if (w.title == title && (pid == 0 || x.cardinal(xcb_window_t(w.id), "_NET_WM_PID") == std::uint32_t(pid)))
            return w;
    return std::nullopt;
}

std::optional<TopWindow> waitForWindow(Platform& p, const std::string& title, qint64 pid) {
    std::optional<TopWindow> found;
    test::waitUntil([&] { return bool(found = findWindow(p, title, pid)); }, 15000);
    return found;
}

bool listed(Platform& p, std::uint64_t id) {
    for (const auto& w : p.topWindows())
        if (w.id == id) return true;
    return false;
}

std::unique_ptr<QProcess> startStandin(const test::TempDir& tmp) {
    auto proc = std::make_unique<QProcess>();
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("KORVEX_STANDIN_JOURNAL", QString::fromStdString(tmp.file("standin.log")));
    proc->setProcessEnvironment(env);
#ifdef KX_STANDIN
    proc->start(KX_STANDIN, {"+dedicated"});
#else
    proc->start(QString::fromStdString(test::helperPath()), {"window", kDedicatedTitle});
#endif
    proc->waitForStarted(5000);
    return proc;
}

class Windows : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveDisplay()) GTEST_SKIP() << "needs a display (run under xvfb-run)";
    }
    void TearDown() override {
        for (auto& proc : started) {
            if (proc->state() != QProcess::NotRunning) proc->kill();
            proc->waitForFinished(3000);
        }
    }
    test::TempDir tmp;
    std::unique_ptr<Platform> p = makeRealPlatform();
    std::vector<std::unique_ptr<QProcess>> started;
};

TEST_F(Windows, ClosesTheDedicatedServerWindowAndLeavesOthers) {
    started.push_back(startStandin(tmp));
    QProcess& server = *started.back();
    // Differs in case only: the caller's search would not take it, and we do not close it.
    started.push_back(test::startHelper({"window", "quellfort dedicated server on port 24711"}));
    QProcess& bystander = *started.back();

    const auto target = waitForWindow(*p, kDedicatedTitle, server.processId());
    ASSERT_TRUE(target) << "the dedicated-server window was not listed";
    const auto other = waitForWindow(*p, "quellfort dedicated server on port 24711", bystander.processId());
    ASSERT_TRUE(other);

    EXPECT_TRUE(p->closeWindow(target->id));
    EXPECT_FALSE(listed(*p, target->id));
    EXPECT_TRUE(server.waitForFinished(5000)) << "the stand-in still runs";
    EXPECT_TRUE(listed(*p, other->id));
    EXPECT_EQ(bystander.state(), QProcess::Running);

    EXPECT_TRUE(p->closeWindow(other->id));
    EXPECT_TRUE(bystander.waitForFinished(5000));
    EXPECT_TRUE(p->closeWindow(other->id)); // already gone
}

TEST_F(Windows, TitlesAreWindows1252AndAtMost255) {
    const std::string longTitle(300, 'T');
    started.push_back(test::startHelper({"window", "Caf\xc3\xa9 \xe2\x82\xac \xc5\x82", longTitle}));
    const qint64 pid = started.back()->processId();
    EXPECT_TRUE(waitForWindow(*p, "Caf\xe9 \x80 ?", pid));
    const auto cut = waitForWindow(*p, std::string(255, 'T'), pid);
    ASSERT_TRUE(cut);
    EXPECT_TRUE(p->closeWindow(cut->id));
}

// A private X server on which the test itself plays an EWMH window manager.
class FakeManager {
public:
    explicit FakeManager(const std::string& display) : x_(display.c_str()) {}
    ~FakeManager() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    bool ok() const { return x_.ok(); }

    // Announces itself and lists clients; answers _NET_CLOSE_WINDOW by destroying the window.
    void start(const std::vector<xcb_window_t>& clients) {
        check_ = xcb_generate_id(x_.c());
        xcb_create_window(x_.c(), XCB_COPY_FROM_PARENT, check_, x_.root(), 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        x_.setWindows(check_, "_NET_SUPPORTING_WM_CHECK", {check_});
        x_.setWindows(x_.root(), "_NET_SUPPORTING_WM_CHECK", {check_});
        clients_ = clients;
        x_.setWindows(x_.root(), "_NET_CLIENT_LIST", clients_);
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(x_.c(), x_.root(), XCB_CW_EVENT_MASK, &mask);
        closeAtom_ = x_.atom("_NET_CLOSE_WINDOW");
        xcb_flush(x_.c());
        thread_ = std::thread([this] { run(); });
    }
    std::vector<xcb_window_t> closeRequests() {
        std::lock_guard<std::mutex> g(m_);
        return requests_;
    }
    XProbe& x() { return x_; }

private:
    void drop(xcb_window_t w) {
        auto it = std::find(clients_.begin(), clients_.end(), w);
        if (it == clients_.end()) return;
        clients_.erase(it);
        x_.setWindows(x_.root(), "_NET_CLIENT_LIST", clients_);
    }
    void run() {
        while (!stop_) {
            xcb_generic_event_t* e = xcb_poll_for_event(x_.c());
            if (!e) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            const uint8_t type = e->response_type & 0x7f;
            if (type == XCB_CLIENT_MESSAGE) {
                auto* cm = reinterpret_cast<xcb_client_message_event_t*>(e);
                if (cm->type == closeAtom_) {
                    {
                        std::lock_guard<std::mutex> g(m_);
                        requests_.push_back(cm->window);
                    }
                    xcb_destroy_window(x_.c(), cm->window);
                    drop(cm->window);
                }
            } else if (type == XCB_DESTROY_NOTIFY) {
                drop(reinterpret_cast<xcb_destroy_notify_event_t*>(e)->window);
            } else if (type == XCB_UNMAP_NOTIFY) {
                drop(reinterpret_cast<xcb_unmap_notify_event_t*>(e)->window);
            }
            xcb_flush(x_.c());
            std::free(e);
        }
    }

    XProbe x_;
    xcb_window_t check_ = 0;
    xcb_atom_t closeAtom_ = 0;
    std::vector<xcb_window_t> clients_;
    std::mutex m_;
    std::vector<xcb_window_t> requests_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(WindowManager, ItsClientListAndCloseRequestAreUsed) {
    // Our own server, so the manager we play cannot disturb other tests' windows.
    QProcess server;
    std::string display;
    for (int n = 140; n < 200 && display.empty(); ++n) {
        const std::string sock = "/tmp/.X11-unix/X" + std::to_string(n);
        if (test::exists(sock) || test::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
        server.start("Xvfb", {QString(":%1").arg(n), "-screen", "0", "640x480x24", "-nolisten", "tcp"});
        if (server.waitForStarted(5000) && test::waitUntil([&] { return test::exists(sock); }, 5000))
            display = ":" + std::to_string(n);
        else {
            server.kill();
            server.waitForFinished(2000);
        }
    }
    if (display.empty()) GTEST_SKIP() << "no Xvfb to start";
    {
        test::EnvGuard d("DISPLAY", display);
        test::EnvGuard qpa("QT_QPA_PLATFORM", std::string("xcb"));
        auto p = makeRealPlatform();
        auto client = test::startHelper({"window", "Managed window"});
        const auto managed = waitForWindow(*p, "Managed window", client->processId());
        ASSERT_TRUE(managed);

        FakeManager wm(display);
        ASSERT_TRUE(wm.ok());
        // A window that asks for no close protocol, named the old way only (Latin-1).
        XProbe& x = wm.x();
        const xcb_window_t bare = xcb_generate_id(x.c());
        xcb_create_window(x.c(), XCB_COPY_FROM_PARENT, bare, x.root(), 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_change_property(x.c(), XCB_PROP_MODE_REPLACE, bare, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 4, "B\xe4re");
        xcb_flush(x.c());
        wm.start({bare, xcb_window_t(managed->id)});

        // The list is the manager's: the unmapped bare window is in it.
        const auto list = p->topWindows();
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0].id, bare);
        EXPECT_EQ(list[0].title, "B\xe4re");
        EXPECT_EQ(list[1].id, managed->id);
        EXPECT_EQ(list[1].title, "Managed window");

        EXPECT_TRUE(p->closeWindow(bare)); // through the manager
        EXPECT_EQ(wm.closeRequests(), std::vector<xcb_window_t>{bare});
        EXPECT_TRUE(p->closeWindow(managed->id)); // the client's own close protocol
        EXPECT_EQ(wm.closeRequests().size(), 1u);
        EXPECT_TRUE(client->waitForFinished(5000));
        EXPECT_TRUE(p->topWindows().empty());
    }
    server.kill();
    server.waitForFinished(3000);
}

TEST(Tray, TakesAnIconWhenANotificationAreaRuns) {
    if (!haveDisplay()) GTEST_SKIP() << "needs a display (run under xvfb-run)";
    auto p = makeRealPlatform();
    QProcess host;
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        EXPECT_FALSE(p->trayAdd("/nonexistent/docklet.ico", "Korvex", [](int) {})); // no notification area
        host.start("trayer", {});
        ASSERT_TRUE(host.waitForStarted(5000)) << "trayer is not installed";
        ASSERT_TRUE(test::waitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000));
    }
    std::vector<int> got;
    ASSERT_TRUE(p->trayAdd("/nonexistent/docklet.ico", "Korvex", [&](int m) { got.push_back(m); }));
    auto* icon = qApp->findChild<QSystemTrayIcon*>("kxTrayIcon");
    ASSERT_TRUE(icon);
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(icon->toolTip(), "Korvex");
    emit icon->activated(QSystemTrayIcon::Trigger); // a single click is no message of ours
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    emit icon->activated(QSystemTrayIcon::Context);
    EXPECT_EQ(got, (std::vector<int>{tray::LeftDoubleClick, tray::RightButtonUp}));

    // Adding again shows the new picture and tooltip on the same icon.
    test::TempDir tmp;
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString(tmp.file("red.png"))));
    ASSERT_TRUE(p->trayAdd(tmp.file("red.png"), "Korvex caf\xe9", [&](int m) { got.push_back(-m); }));
    EXPECT_EQ(qApp->findChild<QSystemTrayIcon*>("kxTrayIcon"), icon);
    EXPECT_EQ(icon->icon().pixmap(16, 16).toImage().pixel(8, 8), QColor(Qt::red).rgb());
    EXPECT_EQ(icon->toolTip(), QString::fromUtf8("Korvex caf\xc3\xa9"));
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(got.back(), -tray::LeftDoubleClick);

    p->trayRemove();
    emit icon->activated(QSystemTrayIcon::DoubleClick); // removed: nobody is told
    EXPECT_EQ(got.size(), 3u);
    if (host.state() != QProcess::NotRunning) {
        host.kill();
        host.waitForFinished(3000);
    }
}

} // namespace
} // namespace kx
