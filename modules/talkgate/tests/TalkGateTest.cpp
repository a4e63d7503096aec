// The chat window against a local HTTP server: the engine really loads each page and runs its
// script (the title the script sets is what the window shows).
#include "ChatPages.h"
#include "frmBrowser.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "platform/FakePlatform.h"
#include "shared/testing/GameDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebEngineView>

#include <gmock/gmock.h>

#include <map>

#include <sys/stat.h>

using namespace kx;
using namespace kx::talkgate;

namespace {

// Before the application exists (the test main makes it): the engine's shared contexts, and
// no sandbox, which cannot run as root or in most containers.
const bool EngineReady = [] {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    return true;
}();

// Serves /chat.php and /chat.shtml as text/html; each page's script sets its title.
class ChatServer : public QObject {
public:
    std::map<std::string, int> hits;

    ChatServer() {
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] { answer(s); });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
        listening = server_.listen(QHostAddress::LocalHost, 0);
    }
    bool listening = false;
    QString base() const { return QString("http://127.0.0.1:%1").arg(server_.serverPort()); }

private:
    void answer(QTcpSocket* s) {
        const QByteArray request = s->readAll();
        const QList<QByteArray> first = request.left(request.indexOf("\r\n")).split(' ');
        const std::string path = first.size() > 1 ? first[1].toStdString() : "";
        QByteArray status = "200 OK", body;
        if (path == "/links.html") {
            // One link over the whole page that asks for a new window.
            body = "<html><head><title>links</title></head><body style='margin:0'>"
                   "<a href='/chat.shtml' target='_blank' style='display:block;width:100%;height:100vh'>"
                   "open the chat in a new window</a></body></html>";
        } else if (path == "/chat.php" || path == "/chat.shtml") {
            ++hits[path];
            body = "<html><head><title>static</title></head><body><p>chat</p>"
                   "<script>document.title = 'ran " + QByteArray::fromStdString(path) + " " +
                   QByteArray::number(hits[path]) + "';</script></body></html>";
        } else {
            status = "404 Not Found";
            body = "<html><head><title>not found</title></head></html>";
        }
        s->write("HTTP/1.1 " + status + "\r\nContent-Type: text/html\r\nContent-Length: " +
                 QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        s->disconnectFromHost();
    }
    QTcpServer server_;
};

class TalkGateTest : public ::testing::Test {
protected:
    kx::test::GameDir game{"Quell fort"};
    FakePlatform fake;
    ChatServer server;

    void SetUp() override {
        ASSERT_TRUE(EngineReady);
        ASSERT_TRUE(server.listening);
        qputenv("KORVEX_CHAT_HOST1", server.base().toUtf8());
        qputenv("KORVEX_CHAT_HOST2", (server.base() + "/").toUtf8());
        game.write("korvex.wfd/templates/chat_startup.htm",
                   readFile(kx::test::sourceDir() + "/korvex.wfd/templates/chat_startup.htm"));
        fake.current = "/";
    }
    void TearDown() override {
        qunsetenv("KORVEX_CHAT_HOST1");
        qunsetenv("KORVEX_CHAT_HOST2");
    }
    // Waits until the engine shows this title.
    static bool shows(frmBrowser& f, const QString& title) {
        return QTest::qWaitFor([&] { return f.WebBrowse->title() == title; }, 30000);
    }
};

} // namespace

// The hosts: the environment first, then the player's settings (Korvex.ini, section chat),
// then the built-in ones; the paths are fixed.
TEST(ChatPages, HostsComeFromTheEnvironmentThenThePlayersSettings) {
    FakePlatform fake;
    qunsetenv("KORVEX_CHAT_HOST1");
    qunsetenv("KORVEX_CHAT_HOST2");
    EXPECT_THAT(chatPage(1).url, ::testing::EndsWith("/chat.php"));
    EXPECT_THAT(chatPage(2).url, ::testing::EndsWith("/chat.shtml"));
    EXPECT_EQ(chatPage(1).url.rfind("https://", 0), 0u);

    fake.saveSetting("Korvex", "chat", "host1", "https://chat.example.org/");
    fake.saveSetting("Korvex", "chat", "host2", " http://10.0.0.7:8080 ");
    EXPECT_EQ(chatPage(1).url, "https://chat.example.org/chat.php");
    EXPECT_EQ(chatPage(2).url, "http://10.0.0.7:8080/chat.shtml");

    qputenv("KORVEX_CHAT_HOST2", "http://127.0.0.1:8080//");
    EXPECT_EQ(chatPage(2).url, "http://127.0.0.1:8080/chat.shtml");
    EXPECT_EQ(chatPage(1).url, "https://chat.example.org/chat.php");
    qunsetenv("KORVEX_CHAT_HOST2");

    // A store that cannot be read names the setting.
    struct FailingStore : FakePlatform {
        std::string getSetting(const std::string&, const std::string&, const std::string&) override {
            throw RunError(75);
        }
    };
    {
        FailingStore failing;
        try {
            chatPage(2);
            ADD_FAILURE();
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), 75);
            EXPECT_EQ(e.description(), "Path/File access error: Korvex.ini, [chat] host2");
        }
    }

    // The engine is handed web pages only.
    for (const char* host : {"file:///tmp", "/tmp", "javascript:alert(1)//"}) {
        fake.saveSetting("Korvex", "chat", "host1", host);
        try {
            chatPage(1);
            ADD_FAILURE() << host;
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), 5) << host;
        }
    }
}

TEST_F(TalkGateTest, StartPageThenEachChatPageLoadedAndRun) {
    frmBrowser f(game.path());
    EXPECT_EQ(f.windowTitle(), "chatting...");
    EXPECT_EQ(f.Command1->text(), QString::fromStdString("Chat on " + chatPage(1).service));
    EXPECT_EQ(f.Command2->text(), QString::fromStdString("Chat on " + chatPage(2).service));
    EXPECT_EQ(f.Command3->text(), "&Done");
    f.Form_Load();
    f.show();
    EXPECT_EQ(fake.current, "/") << "the chat module leaves the current directory";
    EXPECT_TRUE(shows(f, "Korvex chat access")) << f.WebBrowse->title().toStdString();

    f.Command1->click();
    EXPECT_TRUE(shows(f, "ran /chat.php 1")) << f.WebBrowse->title().toStdString();
    f.Command2->click();
    EXPECT_TRUE(shows(f, "ran /chat.shtml 1")) << f.WebBrowse->title().toStdString();
    // Pressing a chat button again loads its page anew from its address.
    f.Command1->click();
    EXPECT_TRUE(shows(f, "ran /chat.php 2")) << f.WebBrowse->title().toStdString();
    f.Command1->click();
    EXPECT_TRUE(shows(f, "ran /chat.php 3")) << f.WebBrowse->title().toStdString();
    EXPECT_THAT(fake.boxes, ::testing::IsEmpty());

    f.Command3->click();
    EXPECT_FALSE(f.isVisible());
}

TEST_F(TalkGateTest, AnEmptyCommandLineShowsTheCriticalBoxAndEnds) {
    frmBrowser f("");
    EXPECT_THROW(f.Form_Load(), ProgramEnded);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "The Execution of the module failed.\rPlease reinstall Korvex.");
    EXPECT_EQ(fake.boxes[0].style, 16);
    EXPECT_EQ(fake.boxes[0].title, "Critical Error.");
}

// The start page names where the chat hosts are set, in a line of its own.
TEST(ChatPages, TheShippedStartPageSaysWhereTheHostsAreSet) {
    const auto lines = readLines(kx::test::sourceDir() + "/korvex.wfd/templates/chat_startup.htm");
    const auto line = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("Korvex.ini") != std::string::npos && l.find("[chat]") != std::string::npos;
    });
    ASSERT_NE(line, lines.end());
    EXPECT_EQ(line->rfind("<p>", 0), 0u) << *line;
}

// Hosts set by the player: the buttons load them, and the window says when a host cannot be
// used rather than loading something else.
TEST_F(TalkGateTest, TheChatButtonsUseThePlayersHosts) {
    qunsetenv("KORVEX_CHAT_HOST1");
    fake.saveSetting("Korvex", "chat", "host1", server.base().toStdString());
    fake.saveSetting("Korvex", "chat", "host2", "ftp://files.example/");
    frmBrowser f(game.path());
    f.Form_Load();
    f.show();
    f.Command1->click();
    EXPECT_TRUE(shows(f, "ran /chat.php 1")) << f.WebBrowse->title().toStdString();
    EXPECT_THAT(fake.boxes, ::testing::IsEmpty());
    f.Command2->click(); // the variable wins
    EXPECT_TRUE(shows(f, "ran /chat.shtml 1")) << f.WebBrowse->title().toStdString();
    qunsetenv("KORVEX_CHAT_HOST2");
    f.Command2->click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_THAT(fake.boxes[0].text,
                ::testing::EndsWith("Invalid procedure call or argument: ftp://files.example/chat.shtml, 5"));
    EXPECT_EQ(f.WebBrowse->url().path(), "/chat.shtml") << "the view keeps its page";
}

// The module needs nothing of a game directory that does not exist: the engine shows the
// missing start page its own way and the chat buttons work.
TEST_F(TalkGateTest, AMissingGameDirectoryIsNoEnd) {
    frmBrowser f(game.path() + "/gone");
    ASSERT_NO_THROW(f.Form_Load());
    EXPECT_EQ(fake.endCode, -1);
    EXPECT_THAT(fake.boxes, ::testing::IsEmpty());
    f.show();
    f.Command1->click();
    EXPECT_TRUE(shows(f, "ran /chat.php 1")) << f.WebBrowse->title().toStdString();
}

// A named pipe (or a folder) where the start page belongs never reaches the engine, whose
// thread would wait on it for ever: the window reports it at once and goes on.
TEST_F(TalkGateTest, AStartPageThatIsNoRegularFileIsReportedNotLoaded) {
    const std::string page = game.file("korvex.wfd/templates/chat_startup.htm");
    for (bool fifo : {true, false}) {
        SCOPED_TRACE(fifo ? "fifo" : "folder");
        removeFile(page);
        if (fifo) ASSERT_EQ(::mkfifo(page.c_str(), 0600), 0);
        else makeDir(page);
        fake.boxes.clear();
        frmBrowser f(game.path());
        QElapsedTimer t;
        t.start();
        ASSERT_NO_THROW(f.Form_Load());
        EXPECT_LT(t.elapsed(), 5000);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_THAT(fake.boxes[0].text, ::testing::EndsWith("Path/File access error: " + page + ", 75"));
        EXPECT_TRUE(f.WebBrowse->url().isEmpty());
        f.show();
        f.Command2->click();
        const QString title = fifo ? "ran /chat.shtml 1" : "ran /chat.shtml 2";
        EXPECT_TRUE(shows(f, title)) << f.WebBrowse->title().toStdString();
        if (!fifo) removeDir(page);
        else removeFile(page);
        game.write("korvex.wfd/templates/chat_startup.htm", "x");
    }
}

// A link that opens a new window (target="_blank") opens in the chat window itself, on a
// real click.
TEST_F(TalkGateTest, ALinkForANewWindowOpensInTheSameView) {
    frmBrowser f(game.path());
    f.Form_Load();
    f.resize(640, 480);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.navigate(QUrl(server.base() + "/links.html"));
    ASSERT_TRUE(shows(f, "links")) << f.WebBrowse->title().toStdString();
    QWidget* surface = f.WebBrowse->focusProxy();
    ASSERT_NE(surface, nullptr);
    // The engine takes input once it has painted the page.
    QTest::qWait(300);
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_TRUE(shows(f, "ran /chat.shtml 1")) << f.WebBrowse->title().toStdString();
    EXPECT_EQ(f.WebBrowse->url().path(), "/chat.shtml");
    EXPECT_THAT(fake.boxes, ::testing::IsEmpty());
}
