#include "frmBrowser.h"

#include "ChatPages.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/ModuleCommandLine.h"
#include "shared/Ui.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace kx::talkgate {

frmBrowser::frmBrowser(std::string commandLine, QWidget* parent)
    : QWidget(parent), commandLine_(std::move(commandLine)) {
    setObjectName("frmBrowser");
    setWindowTitle("chatting...");
    resize(800, 600);
    const QFont verdana = namedFont("Verdana", 8);

    WebBrowse = named(new QWebEngineView(this), "WebBrowse");
    Command1 = named(new QPushButton(toUi("Chat on " + chatPage(1).service), this), "Command1");
    Command2 = named(new QPushButton(toUi("Chat on " + chatPage(2).service), this), "Command2");
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
}

void frmBrowser::Form_Load() {
    const auto dir = checkModuleCommandLine(commandLine_, ModuleCheck{false, false});
    if (!dir) platform().endProgram(0);
    const std::string page = resolvePath(*dir, "korvex.wfd/templates/chat_startup.htm");
    // Not a regular file (a pipe would hold the engine for ever): the page is not loaded.
    try { requireRegularFile(page); } catch (const RunError&) { return; }
    navigate(QUrl::fromEncoded(QByteArray::fromStdString(localFileUrl(page))));
}

void frmBrowser::navigate(const QUrl& address) { WebBrowse->load(address); }

// Loading the address again also reloads a page already shown.
void frmBrowser::Command1_Click() { navigate(QUrl(QString::fromStdString(chatPage(1).url))); }
void frmBrowser::Command2_Click() { navigate(QUrl(QString::fromStdString(chatPage(2).url))); }

void frmBrowser::Command3_Click() { close(); }

} // namespace kx::talkgate
