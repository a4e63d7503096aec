#include "Form1.h"

#include "shared/Boxes.h"
#include "shared/KorvexConfig.h"
#include "shared/Launch.h"
#include "shared/ModuleCommandLine.h"
#include "shared/Ui.h"
#include "platform/Platform.h"
#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QCloseEvent>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

namespace kx::docklet {

void start(const std::string& commandLine) {
    const auto dir = checkModuleCommandLine(commandLine);
    if (!dir) platform().endProgram(0);
    // Lives as long as the module: unloading it ends the program.
    auto* form = new Form1(*dir);
    form->Form_Load();
}

namespace {

QAction* menuItem(QMenu* menu, const char* name, const char* caption) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

// Every handler runs inside Qt's event loop (a menu's own loop included): a run error is shown
// on the module's error path, the module runs on.
template <class F>
void guarded(F&& f) {
    try {
        f();
    } catch (const RunError& e) {
        showError(e);
    }
}

QAction* separator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

Form1::Form1(std::string korvexDir, QWidget* parent) : QWidget(parent), korvexDir_(std::move(korvexDir)) {
    setObjectName("Form1");
    setWindowTitle("Korvex Docklet");
    setFont(namedFont("Verdana", 8));

    Label1 = named(plainLabel("Korvex Docklet"), "Label1");
    QFont title = namedFont("Verdana", 12, true);
    Label1->setFont(title);
    Image1 = named(new QLabel, "Image1");
    Image1->setPixmap(QPixmap(QString::fromStdString(TrayIconPath)).scaled(32, 32));
    Image1->setFixedSize(32, 32);
    Label3 = named(plainLabel("Starts Korvex, the game and its modules"), "Label3");
    Label4 = named(plainLabel("from the notification area."), "Label4");
    Label5 = named(plainLabel("Part of the Korvex suite."), "Label5");
    Command1 = named(new QPushButton("&Ok"), "Command1");
    Command2 = named(new QPushButton("&Quit"), "Command2");

    auto* head = new QHBoxLayout;
    head->addWidget(Image1);
    head->addWidget(Label1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(head);
    outer->addWidget(Label3);
    outer->addWidget(Label4);
    outer->addWidget(Label5);
    outer->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, [this] { guarded([this] { Command1_Click(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { guarded([this] { Command2_Click(); }); });
    // The info window: "&Ok" is its default, and Escape hides it as "&Ok" does (closing it
    // would end the module).
    setDialogKeys(this, Command1, Command1);

    // The hidden top-level menu "Menu": it only ever shows as the icon's pop-up.
    mnuMenu = named(new QMenu("Menu", this), "mnuMenu");
    mnuStartKorvex = menuItem(mnuMenu, "mnuStartKorvex", "start korvex");
    mnuStartQF = menuItem(mnuMenu, "mnuStartQF", "start quellfort");
    mnuStartLine1 = separator(mnuMenu, "mnuStartLine1");
    mnuStartHost = menuItem(mnuMenu, "mnuStartHost", "host a game");
    mnuStartJoin = menuItem(mnuMenu, "mnuStartJoin", "join a game");
    mnuStartDedicated = menuItem(mnuMenu, "mnuStartDedicated", "dedicated server");
    mnuStartLine2 = separator(mnuMenu, "mnuStartLine2");
    mnuserversetlaunch = named(mnuMenu->addMenu("launch serverset"), "mnuserversetlaunch");
    mnuStartLine3 = separator(mnuMenu, "mnuStartLine3");
    mnuStartInfo = menuItem(mnuMenu, "mnuStartInfo", "info");
    mnuStartQuit = menuItem(mnuMenu, "mnuStartQuit", "quit");
    mnuStartLine4 = separator(mnuMenu, "mnuStartLine4");
    mnuCancel = menuItem(mnuMenu, "mnuCancel", "cancel");
    mnuServerSetReload = menuItem(mnuserversetlaunch, "mnuServerSetReload", "reload serverset");
    mnuServerSetLine1 = separator(mnuserversetlaunch, "mnuServerSetLine1");
    mnuToolsPlugIn.push_back(menuItem(mnuserversetlaunch, "mnuToolsPlugIn", "no serverset available"));
    mnuToolsPlugIn[0]->setProperty("index", 0);
    mnuToolsPlugIn[0]->setEnabled(false);
    connect(mnuToolsPlugIn[0], &QAction::triggered, this, [this] { guarded([this] { mnuToolsPlugIn_Click(0); }); });

    connect(mnuStartKorvex, &QAction::triggered, this, [this] { guarded([this] { mnuStartKorvex_Click(); }); });
    connect(mnuStartQF, &QAction::triggered, this, [this] { guarded([this] { mnuStartQF_Click(); }); });
    connect(mnuStartHost, &QAction::triggered, this, [this] { guarded([this] { mnuStartHost_Click(); }); });
    connect(mnuStartJoin, &QAction::triggered, this, [this] { guarded([this] { mnuStartJoin_Click(); }); });
    connect(mnuStartDedicated, &QAction::triggered, this, [this] { guarded([this] { mnuStartDedicated_Click(); }); });
    connect(mnuStartInfo, &QAction::triggered, this, [this] { guarded([this] { mnuStartInfo_Click(); }); });
    connect(mnuStartQuit, &QAction::triggered, this, [this] { guarded([this] { mnuStartQuit_Click(); }); });
    connect(mnuServerSetReload, &QAction::triggered, this, [this] { guarded([this] { mnuServerSetReload_Click(); }); });
    // "cancel" has no action: choosing it only closes the menu.

    popUpMenu = [](QMenu* menu) { menu->exec(QCursor::pos()); };
}

Form1::~Form1() {
    if (iconAdded_) platform().trayRemove();
}

void Form1::Form_Load() {
    iconAdded_ = platform().trayAdd(TrayIconPath, TrayTip, [this](int message) { trayMouse(message); });
    if (!iconAdded_) {
        std::fprintf(stderr, "%s: there is no notification area to show the docklet's icon in; the docklet ends.\n",
                     platform().programName().c_str());
        platform().endProgram(0);
    }
    LoadServerSetMenu();
}

void Form1::trayMouse(int message) {
    mouseMessage_ = message;
    // A notification that arrives while the menu or a box of an earlier one is open.
    if (busy_) return;
    busy_ = true;
    struct ClearBusy {
        bool& flag;
        ~ClearBusy() { flag = false; }
    } clear{busy_};
    try {
        if (message == tray::LeftDoubleClick)
            mnuStartInfo_Click();
        else if (message == tray::RightButtonUp)
            popUpMenu(mnuMenu);
    } catch (const RunError& e) {
        // Nothing may leave the handler into the event loop; the module keeps running.
        showError(e);
    }
}

void Form1::LoadServerSetMenu() {
    while (serverSetCount_ != 0) {
        delete mnuToolsPlugIn[serverSetCount_];
        mnuToolsPlugIn.pop_back();
        --serverSetCount_;
        platform().doEvents();
    }
    mnuToolsPlugIn[0]->setText("no serverset available");
    mnuToolsPlugIn[0]->setEnabled(false);
    serverSets_ = serverSetItems(listServerSets(korvexDir_));
    if (serverSets_.empty()) {
        platform().doEvents();
        return;
    }
    mnuToolsPlugIn[0]->setText(menuText(serverSets_[0].caption));
    mnuToolsPlugIn[0]->setEnabled(true);
    for (size_t i = 1; i < serverSets_.size(); ++i) {
        const int index = static_cast<int>(i);
        auto* a = new QAction(menuText(serverSets_[i].caption), mnuserversetlaunch);
        a->setObjectName("mnuToolsPlugIn");
        a->setProperty("index", index);
        mnuserversetlaunch->addAction(a);
        connect(a, &QAction::triggered, this, [this, index] { guarded([this, index] { mnuToolsPlugIn_Click(index); }); });
        mnuToolsPlugIn.push_back(a);
    }
    serverSetCount_ = static_cast<int>(serverSets_.size()) - 1;
}

void Form1::startProgram(const std::string& name, const std::string& failure) {
    // "qfkorvex.exe" names the installed QFKorvex: the bare name is matched ignoring case too.
    std::string program = resolvePath(korvexDir_, name + ".exe");
    if (!fileExists(program)) {
        const std::string bare = resolvePath(korvexDir_, name);
        if (fileExists(bare)) program = bare;
    }
    try {
        platform().startProcess(program, {}, korvexDir_, win::NormalFocus);
    } catch (const RunError& e) {
        showError(failure + CRLF + e.description(), e.number());
    }
}

void Form1::mnuStartKorvex_Click() { startProgram("qfkorvex", "Docklet was unable to start Korvex"); }
void Form1::mnuStartQF_Click() { startProgram("game", "Docklet was unable to start Quellfort"); }
void Form1::mnuStartHost_Click() { moduleStart(korvexDir_, "matchopener"); }
void Form1::mnuStartJoin_Click() { moduleStart(korvexDir_, "seatfinder"); }
void Form1::mnuStartDedicated_Click() { moduleStart(korvexDir_, "arenawarden"); }

void Form1::mnuStartInfo_Click() {
    show();
    raise();
    activateWindow();
}

void Form1::mnuStartQuit_Click() { unload(); }
void Form1::mnuServerSetReload_Click() { LoadServerSetMenu(); }

void Form1::mnuToolsPlugIn_Click(int index) {
    if (index < 0 || index >= static_cast<int>(serverSets_.size())) return; // the disabled item 0
    platform().msgBox(numText(static_cast<long long>(mnuToolsPlugIn.size())), box::OkOnly, "");
    // The file the item was made from, whole: "cup.final.ini", never "cup.ini".
    try {
        saveKorvexSetting(setting::LoadServerSet, serverSets_[static_cast<size_t>(index)].fileName);
    } catch (const RunError& e) {
        // Without the hand-over the module would not launch the set: it is not started.
        showError(e.description() + " (settings Korvex.ini)", e.number());
        return;
    }
    moduleStart(korvexDir_, "arenawarden");
}

void Form1::Command1_Click() { hide(); }
void Form1::Command2_Click() { unload(); }

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    unload();
}

void Form1::unload() {
    if (iconAdded_) {
        iconAdded_ = false;
        platform().trayRemove();
    }
    hide();
    platform().endProgram(0);
}

} // namespace kx::docklet
