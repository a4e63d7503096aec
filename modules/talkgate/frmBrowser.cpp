#include "frmBrowser.h"

#include "ChatPages.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/ModuleCommandLine.h"
#include "shared/Boxes.h"
#include "shared/Ui.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace kx::talkgate {

frmBrowser::frmBrowser(std::string commandLine, QWidget* parent)
    : QWidget(parent), commandLine_(std::move(commandLine)) {
    setObjectName("frmBrowser");
    setWindowTitle("chatting...");
    resize(800, 600);
    const QFont verdana = namedFont("Verdana", 8);

    WebBrowse = named(new QWebEngineView(this), "WebBrowse");
    Command1 = named(new QPushButton(toUi("Chat on " + chatService(1)), this), "Command1");
    Command2 = named(new QPushButton(toUi("Chat on " + chatService(2)), this), "Command2");
    Command3 = named(new QPushButton("&Done", this), "Command3");
    for (QPushButton* b : {Command1, Command2, Command3}) b->setFont(verdana);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch(1);
    buttons->addWidget(Command3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WebBrowse, 1);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    // A link that asks for a new window (target="_blank") opens here: the window is one view.
    connect(WebBrowse->page(), &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) { openHere(request.requestedUrl()); });
}

void frmBrowser::Form_Load() {
    // Only an empty command line ends the module: the start page is all it needs of the game
    // directory, and a missing one is shown by the engine in its own way.
    const auto dir = checkModuleCommandLine(commandLine_, ModuleCheck{false, false, false});
    if (!dir) platform().endProgram(0);
    openHere(QUrl::fromEncoded(
        QByteArray::fromStdString(localFileUrl(resolvePath(*dir, "korvex.wfd/templates/chat_startup.htm")))));
}

void frmBrowser::openHere(const QUrl& address) {
    // A local page passes the regular-file rule first: a pipe or a folder at its name would
    // hold one of the engine's threads for ever. A missing or unreadable file goes to the
    // engine, which shows that in its own way.
    if (address.isLocalFile()) {
        // The path's bytes as the address holds them, also where they are not UTF-8.
        const std::string path =
            QByteArray::fromPercentEncoding(address.path(QUrl::FullyEncoded).toLatin1()).toStdString();
        try {
            requireRegularFile(path);
        } catch (const RunError& e) {
            if (e.number() != err::FileNotFound && e.number() != err::PathNotFound &&
                e.number() != err::PermissionDenied) {
                showError(e.description() + ": " + path, e.number());
                return;
            }
        }
    }
    navigate(address);
}

void frmBrowser::navigate(const QUrl& address) { WebBrowse->load(address); }

// Loading the address again also reloads a page already shown.
void frmBrowser::Command1_Click() { openChatPage(1); }
void frmBrowser::Command2_Click() { openChatPage(2); }

void frmBrowser::openChatPage(int n) {
    try {
        const ChatPage page = chatPage(n);
        navigate(QUrl(toUi(page.url)));
    } catch (const RunError& e) {
        showError(e); // the store's failure or an address that is no web page, named
    }
}

void frmBrowser::Command3_Click() { close(); }

} // namespace kx::talkgate
