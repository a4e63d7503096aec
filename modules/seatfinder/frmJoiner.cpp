#include "frmJoiner.h"

#include "JoinCommand.h"
#include "ServerList.h"

#include "shared/Boxes.h"
#include "core/Files.h"
#include "shared/KorvexConfig.h"
#include "shared/ModuleCommandLine.h"
#include "platform/Platform.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/Ui.h"
#include "shared/net/Addresses.h"
#include "shared/net/HostNames.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include "shared/widgets/LimitedTextBox.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace kx::seatfinder {

namespace {

const char* const kCustomServer = "Custom Server";
const char* const kCustomAddress = "xxx.xxx.xxx.xxx:24711";

void reportUnreadable(const RunError& e, const std::string& path) {
    showError(e.description() + ": " + path, e.number());
}

bool isDnsText(const std::string& text) { return lcase(left(text, 4)) == "dns&"; }

// The busy pointer for the whole screen while the reachability query blocks; restored however
// the query ends.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace

frmJoiner::frmJoiner(std::string commandLine, QWidget* parent)
    : QWidget(parent), commandLine_(std::move(commandLine)) {
    setObjectName("frmJoiner");
    setWindowTitle("joining...");
    setFont(namedFont("Verdana", 8));

    lstServer = named(new QComboBox, "lstServer");
    lstServer->setEditable(false);
    lstIP = named(new QListWidget(this), "lstIP");
    lstIP->setVisible(false);
    textIP = named(textBox(), "textIP");
    Text1 = named(textBox("Your name"), "Text1");
    Combo2 = named(new QComboBox, "Combo2");
    Combo2->setEditable(false);
    Command1 = named(new QPushButton("&Ok"), "Command1");
    Command5 = named(new QPushButton("&Query"), "Command5");
    Command6 = named(new QPushButton("&Server List Options"), "Command6");
    Command2 = named(new QPushButton("Add Server", this), "Command2");
    Command2->setVisible(false);
    Command4 = named(new QPushButton("Edit List", this), "Command4");
    Command4->setVisible(false);
    Command3 = named(new QPushButton("&Cancel"), "Command3");
    mnuServer = named(new QMenu("ServerList", this), "mnuServer");
    mnuServerAddServer = named(mnuServer->addAction("add server"), "mnuServerAddServer");
    munServerEditList = named(mnuServer->addAction("edit serverlist"), "munServerEditList");
    Label1 = named(plainLabel("Please select a server, enter your name and the team you wish to join."), "Label1");
    Label1->setWordWrap(true);
    Label2 = named(plainLabel("Server"), "Label2");
    Label3 = named(plainLabel("server"), "Label3");
    Label4 = named(plainLabel("IP"), "Label4");
    Label5 = named(plainLabel("You"), "Label5");
    Label6 = named(plainLabel("your name"), "Label6");
    Label7 = named(plainLabel("assign team"), "Label7");
    QFont bold = font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label5->setFont(bold);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(Label2, row++, 0, 1, 2);
    grid->addWidget(Label3, row, 0);
    grid->addWidget(lstServer, row++, 1);
    grid->addWidget(Label4, row, 0);
    grid->addWidget(textIP, row, 1);
    grid->addWidget(Command5, row++, 2);
    grid->addWidget(Label5, row++, 0, 1, 2);
    grid->addWidget(Label6, row, 0);
    grid->addWidget(Text1, row++, 1);
    grid->addWidget(Label7, row, 0);
    grid->addWidget(Combo2, row++, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command6);
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command3);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(Label1);
    outer->addLayout(grid);
    outer->addLayout(buttons);

    // A choice by the user; choices made from code call lstServer_Click themselves.
    connect(lstServer, &QComboBox::activated, this, [this](int) { lstServer_Click(); });
    // Text set from code counts as a change too.
    connect(textIP, &QLineEdit::textChanged, this, [this] { textIP_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    // Escape is "&Cancel"; Return is "&Ok" unless a button has the focus.
    setDialogKeys(this, Command1, Command3);
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(mnuServerAddServer, &QAction::triggered, this, [this] { mnuServerAddServer_Click(); });
    connect(munServerEditList, &QAction::triggered, this, [this] { munServerEditList_Click(); });
}

void frmJoiner::Form_Load() {
    lstServer->clear();
    lstIP->clear();
    Combo2->clear();

    // The directory becomes current only when the game is started.
    const auto dir = checkModuleCommandLine(commandLine_, ModuleCheck{false, false});
    if (!dir) platform().endProgram(0);
    korvexDir_ = *dir;

    const std::string keyName = cfgkey::PlayerName + "=", keyTeam = cfgkey::Team + "=";
    std::map<std::string, std::string> cfg;
    try {
        cfg = readConfig(korvexDir_, KeyPrefixRule{11, 11}, {keyName, keyTeam});
    } catch (const RunError& e) {
        reportUnreadable(e, configPath(korvexDir_));
    }
    auto value = [&cfg](const std::string& key) {
        auto it = cfg.find(key);
        return it == cfg.end() ? std::string() : it->second;
    };

    for (int i = 0; i < 3; ++i) Combo2->addItem(toUi(teamWord(i)));
    Text1->setText(toUi(value(keyName)));
    selectComboIndex(Combo2, storedIndex(value(keyTeam), Combo2->count()));

    fillServerList();
    selectComboIndex(lstServer, 0);
    lstServer_Click();
}

void frmJoiner::fillServerList() {
    lstServer->clear();
    lstIP->clear();
    lstServer->addItem(kCustomServer);
    lstIP->addItem(kCustomAddress);
    const std::string path = serverListPath(korvexDir_);
    ServerList list;
    try {
        list = parseServerList(readLines(path));
    } catch (const RunError& e) {
        // No list yet is the normal state of a fresh installation: only the fixed entry. Anything
        // else in its place (a folder, a pipe) is a fault the user is told about.
        if (e.number() == err::FileNotFound || e.number() == err::PathNotFound) return;
        reportUnreadable(e, path);
    }
    for (const auto& name : list.names) addComboText(lstServer, name);
    for (const auto& address : list.addresses) addListText(lstIP, address);
}

void frmJoiner::lstServer_Click() {
    // A name without a paired address line gives an empty address box.
    textIP->setText(toUi(listText(lstIP, lstServer->currentIndex())));
}

void frmJoiner::textIP_Change() {
    Command5->setText(isDnsText(fromUi(textIP->text())) ? "Resolve" : "Query");
}

void frmJoiner::invalidAddressBox(const std::string& address) {
    platform().msgBox("The Ip: '" + address + "' is no valid\r\nQuellfort IP adress", box::Exclamation, "Error.");
}

void frmJoiner::Command1_Click() {
    const std::string address = fromUi(textIP->text());
    // A "dns&" text never passes: it must be resolved first.
    if (!validateIP(address)) {
        invalidAddressBox(address);
        return;
    }
    try {
        platform().setCurrentDir(korvexDir_);
        // The game is found in the current directory: a relative game directory named again
        // from inside itself would be looked for one level too deep.
        const std::string here = platform().currentDir();
        const GameCommand cmd =
            joinCommand(here, address, fromUi(Text1->text()), comboText(Combo2, Combo2->currentIndex()));
        platform().startProcess(cmd.program, cmd.args, here, win::NormalFocus);
    } catch (const RunError& e) {
        foundError(e);
        return;
    }
    close();
}

void frmJoiner::Command5_Click() {
    const std::string text = fromUi(textIP->text());
    if (isDnsText(text)) {
        textIP->setText(toUi(resolveDNS(mid(text, 5)) + ":24711"));
        if (fromUi(textIP->text()) != ":24711") {
            Command5->setText("Query");
            return;
        }
        platform().msgBox("The Hostadress could not be resolved.", box::Critical, "Error.");
        // Item 0 may be selected already: its click handler runs all the same.
        selectComboIndex(lstServer, 0);
        lstServer_Click();
        return;
    }
    if (validateIP(text)) {
        std::int16_t online = 0;
        {
            BusyPointer busy;
            online = queryReachable(stripPort(text));
        }
        if (online == 1)
            platform().msgBox("The Query has reported the IP being online.\r\n\r\nNOTE: This must not mean that a QF "
                              "Server is currently active at this IP.\r\nThe Ping just checks if the IP is connected "
                              "to the Internet.",
                              box::Information, "Report.");
        else
            platform().msgBox("The Query has reported the IP being offline.", box::Information, "Report.");
        return;
    }
    invalidAddressBox(text);
}

void frmJoiner::Command2_Click() {
    auto nothingAdded = [] { platform().msgBox("Nothing Added.", box::Information, "info."); };
    const std::string name = platform().inputBox("Please enter the name of the Server.", "Server's name?",
                                                 comboText(lstServer, lstServer->currentIndex()));
    // A name that would read back as a comment, an address or two lines cannot be stored.
    if (!isStorableName(name)) {
        nothingAdded();
        return;
    }
    const std::string address =
        platform().inputBox("Please enter the IP of the Server.", "Server's IP?", fromUi(textIP->text()));
    if (!isStorableAddress(address)) {
        nothingAdded();
        return;
    }
    const std::string path = serverListPath(korvexDir_);
    try {
        appendServer(path, name, address);
    } catch (const RunError& e) {
        showError(e);
        return;
    }
    platform().msgBox("Server added!\r\n" + name + " @ " + address, box::Information, "info.");
    fillServerList();
    selectComboIndex(lstServer, lstServer->count() - 1);
    lstServer_Click();
}

void frmJoiner::Command4_Click() {
    try {
        platform().openInEditor(serverListPath(korvexDir_));
    } catch (const RunError&) {
        // An editor that cannot be started is not the join module's concern.
    }
}

void frmJoiner::Command6_Click() { mnuServer->popup(QCursor::pos()); }

void frmJoiner::mnuServerAddServer_Click() { Command2_Click(); }

void frmJoiner::munServerEditList_Click() { Command4_Click(); }

void frmJoiner::Command3_Click() { close(); }

void frmJoiner::closeEvent(QCloseEvent* event) {
    // Unloading the window, in any way, ends the module: it is the program's only window.
    unloaded_ = true;
    event->accept();
}

} // namespace kx::seatfinder
