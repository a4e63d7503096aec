// The chat window against a local HTTP server: the engine really loads each page and runs its
// script (the title the script sets is what the window shows).
#include "ChatPages.h"
#include "frmBrowser.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "platform/FakePlatform.h"
#include "shared/testing/GameDir.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebEngineView>

#include <gmock/gmock.h>

#include <map>

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
        if (path == "/chat.php" || path == "/chat.shtml") {
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

TEST(ChatPages, HostsComeFromTheEnvironmentPathsAreFixed) {
    qunsetenv("KORVEX_CHAT_HOST1");
    qunsetenv("KORVEX_CHAT_HOST2");
    EXPECT_THAT(chatPage(1).url, ::testing::EndsWith("/chat.php"));
    EXPECT_THAT(chatPage(2).url, ::testing::EndsWith("/chat.shtml"));
    EXPECT_EQ(chatPage(1).url.rfind("https://", 0), 0u);
    qputenv("KORVEX_CHAT_HOST2", "http://127.0.0.1:8080//");
    EXPECT_EQ(chatPage(2).url, "http://127.0.0.1:8080/chat.shtml");
    qunsetenv("KORVEX_CHAT_HOST2");
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
