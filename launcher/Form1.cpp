#include "Form1.h"

#include "Form6.h"
#include "Form7.h"
#include "Launcher.h"
#include "PlugIns.h"
#include "ScreenShots.h"
#include "WebSites.h"

#include "core/Files.h"
#include "shared/Launch.h"
#include "platform/Platform.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace kx::launcher {

namespace {

// A path from the configuration as this platform spells it; an empty one stays empty.
std::string resolvedOrEmpty(const std::string& path) { return path.empty() ? path : resolvePath(path); }

} // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName("Form1");
    setMinimumWidth(twips(3600));

    Image3 = plainLabel(QString(), this);
    Image3->setObjectName("Image3");
    Image1 = plainLabel(QString(), this);
    Image1->setObjectName("Image1");
    Line1 = new QFrame(this);
    Line1->setObjectName("Line1");
    Line1->setFrameShape(QFrame::HLine);
    SkinBody = plainLabel(QString(), this);
    SkinBody->setObjectName("SkinBody");
    Image2 = plainLabel(QString(), this);
    Image2->setObjectName("Image2");

    auto button = [&](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(name);
        b->setMouseTracking(true);
        b->installEventFilter(this);
        return b;
    };
    Command7 = button("Command7", "&configuration");
    Command8 = button("Command8", "&game starting");
    Command1 = button("Command1", "&tools and plug-ins");
    Command9 = button("Command9", "&information");
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    setTabOrder(Command7, Command8);
    setTabOrder(Command8, Command1);
    setTabOrder(Command1, Command9);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Image3);
    layout->addWidget(Image1);
    layout->addWidget(Line1);
    layout->addWidget(SkinBody);
    for (QPushButton* b : {Command7, Command8, Command1, Command9}) layout->addWidget(b);
    layout->addWidget(Image2);

    // The hidden top-level menu: no menu bar, the buttons pop its submenus up.
    mnuMenu = new QMenu("&Menu", this);
    mnuMenu->setObjectName("mnuMenu");
    auto submenu = [&](QMenu* parentMenu, const char* name, const char* caption) {
        QMenu* m = parentMenu->addMenu(QString::fromLatin1(caption));
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };

    mnuConfig = submenu(mnuMenu, "mnuConfig", "&configuration");
    mnuDefaultCFG = item(mnuConfig, "mnuDefaultCFG", "configure game defaults", &Form1::mnuDefaultCFG_Click);
    mnuLevelsCFG = item(mnuConfig, "mnuLevelsCFG", "edit levels.nfo", &Form1::mnuLevelsCFG_Click);
    mnuLineCFG = separator(mnuConfig, "mnuLineCFG");
    mneOpenQfFolderCFG =
        item(mnuConfig, "mneOpenQfFolderCFG", "open quellfort folder", &Form1::mneOpenQfFolderCFG_Click);
    mnuLine2CFG = separator(mnuConfig, "mnuLine2CFG");
    mnuSelectSkinCFG = item(mnuConfig, "mnuSelectSkinCFG", "browse korvex skins", &Form1::mnuSelectSkinCFG_Click);
    mnuKorvexCFG = item(mnuConfig, "mnuKorvexCFG", "reconfigure korvex", &Form1::mnuKorvexCFG_Click);
    mnuStartDudoziRezudCFG = item(mnuConfig, "mnuStartDudoziRezudCFG", "administrate scripts",
                                  &Form1::mnuStartDudoziRezudCFG_Click);

    mnuStartGame = submenu(mnuMenu, "mnuStartGame", "&game starting");
    mnuSimpleGAME = item(mnuStartGame, "mnuSimpleGAME", "start quellfort", &Form1::mnuSimpleGAME_Click);
    mnuLine1GAME = separator(mnuStartGame, "mnuLine1GAME");
    mnuSeatfinder = item(mnuStartGame, "mnuSeatfinder", "join game", &Form1::mnuSeatfinder_Click);
    mnuMatchopener = item(mnuStartGame, "mnuMatchopener", "host game", &Form1::mnuMatchopener_Click);
    mnuLine2GAME = separator(mnuStartGame, "mnuLine2GAME");
    mnuDedicatedGAME = item(mnuStartGame, "mnuDedicatedGAME", "dedicated server", &Form1::mnuDedicatedGAME_Click);

    mnuInformation = submenu(mnuMenu, "mnuInformation", "&information");
    mnuConsoleINFO =
        item(mnuInformation, "mnuConsoleINFO", "ingame console commands", &Form1::mnuConsoleINFO_Click);
    mnuLineINFO = separator(mnuInformation, "mnuLineINFO");
    mnubrowsethisINFO = submenu(mnuInformation, "mnubrowsethisINFO", "browse this");
    mnuBrowsethisWebSite.push_back(arrayItem(mnubrowsethisINFO, nullptr, "mnuBrowsethisWebSite", 0,
                                             "no sites available", &Form1::mnuBrowsethisWebSite_Click));
    mnuBrowsethisWebSite[0]->setEnabled(false);
    mnuInfoWebshelf = item(mnuInformation, "mnuInfoWebshelf", "link library", &Form1::mnuInfoWebshelf_Click);
    mnuInfromationLine2 = separator(mnuInformation, "mnuInfromationLine2");
    mnuAboutINFO = item(mnuInformation, "mnuAboutINFO", "about korvex", &Form1::mnuAboutINFO_Click);
    mnuGettingStarted = item(mnuInformation, "mnuGettingStarted", "korvex help", &Form1::mnuGettingStarted_Click);
    mnuInfromationLine3 = separator(mnuInformation, "mnuInfromationLine3");
    mnueReadMeINFO = item(mnuInformation, "mnueReadMeINFO", "korvex readme", &Form1::mnueReadMeINFO_Click);
    mnueHistoryINFO = item(mnuInformation, "mnueHistoryINFO", "korvex history", &Form1::mnueHistoryINFO_Click);

    mnuTools = submenu(mnuMenu, "mnuTools", "&tools and plug-ins");
    mnuToolsPlugInsFolder = submenu(mnuTools, "mnuToolsPlugInsFolder", "user plug-ins");
    mnuToolsPlugInLine3 = separator(mnuToolsPlugInsFolder, "mnuToolsPlugInLine3");
    mnuToolsPlugInsReload = item(mnuToolsPlugInsFolder, "mnuToolsPlugInsReload", "reload plug-ins",
                                 &Form1::mnuToolsPlugInsReload_Click);
    mnuToolsPlugIn.push_back(arrayItem(mnuToolsPlugInsFolder, mnuToolsPlugInLine3, "mnuToolsPlugIn", 0,
                                       "no PlugIn available", &Form1::mnuToolsPlugIn_Click));
    mnuToolsPlugIn[0]->setEnabled(false);
    mnuToolsPlugInLine1 = separator(mnuTools, "mnuToolsPlugInLine1");
    mnuToolsPlugInSNShots = item(mnuTools, "mnuToolsPlugInSNShots", "back up my screenshots",
                                 &Form1::mnuToolsPlugInSNShots_Click);
    mnuToolsPlugInSNShotsOpen = item(mnuTools, "mnuToolsPlugInSNShotsOpen", "open screenshots folder",
                                     &Form1::mnuToolsPlugInSNShotsOpen_Click);
    mnuToolsPlugInLine2 = separator(mnuTools, "mnuToolsPlugInLine2");
    mnuToolsPlugInsGameSpy =
        item(mnuTools, "mnuToolsPlugInsGameSpy", "start my GameSpy", &Form1::mnuToolsPlugInsGameSpy_Click);
    mnuToolsPlugInsTalkGate =
        item(mnuTools, "mnuToolsPlugInsTalkGate", "start chat access", &Form1::mnuToolsPlugInsTalkGate_Click);
    mnuToolsPlugInsAddonsmith = item(mnuTools, "mnuToolsPlugInsAddonsmith", "start plugin wizard",
                                     &Form1::mnuToolsPlugInsAddonsmith_Click);

    // Form_Load
    setWindowTitle(toUi(AppTitle));
}

QAction* Form1::item(QMenu* menu, const char* name, const char* caption, void (Form1::*handler)()) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return a;
}

QAction* Form1::separator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(name);
    return a;
}

QAction* Form1::arrayItem(QMenu* menu, QAction* before, const char* name, int index, const std::string& caption,
                          void (Form1::*handler)(int)) {
    auto* a = new QAction(menu);
    setArrayCaption(a, caption);
    a->setObjectName(name);
    a->setProperty("index", index);
    menu->insertAction(before, a);
    connect(a, &QAction::triggered, this, [this, handler, index] { (this->*handler)(index); });
    return a;
}

QAction* Form1::addPlugInItem(const std::string& caption) {
    const int index = static_cast<int>(mnuToolsPlugIn.size());
    mnuToolsPlugIn.push_back(arrayItem(mnuToolsPlugInsFolder, mnuToolsPlugInLine3, "mnuToolsPlugIn", index, caption,
                                       &Form1::mnuToolsPlugIn_Click));
    return mnuToolsPlugIn.back();
}

void Form1::removePlugInItem(int index) {
    if (index <= 0 || index != static_cast<int>(mnuToolsPlugIn.size()) - 1) return;
    delete mnuToolsPlugIn.back();
    mnuToolsPlugIn.pop_back();
}

void Form1::setArrayCaption(QAction* item, const std::string& caption) {
    item->setText(menuText(caption));
    item->setProperty("caption", QByteArray::fromStdString(caption));
}

std::string Form1::arrayCaption(const QAction* item) { return item->property("caption").toByteArray().toStdString(); }

void Form1::resetPlugInItem0() {
    setArrayCaption(mnuToolsPlugIn[0], "no PlugIn available");
    mnuToolsPlugIn[0]->setEnabled(false);
}

QAction* Form1::addWebSiteItem(const std::string& caption) {
    const int index = static_cast<int>(mnuBrowsethisWebSite.size());
    mnuBrowsethisWebSite.push_back(arrayItem(mnubrowsethisINFO, nullptr, "mnuBrowsethisWebSite", index, caption,
                                             &Form1::mnuBrowsethisWebSite_Click));
    return mnuBrowsethisWebSite.back();
}

// --- buttons ---------------------------------------------------------------------------------

void Form1::popUp(QMenu* menu) { menu->popup(QCursor::pos()); }

void Form1::setBold(QPushButton* button, bool bold) {
    QFont f = button->font();
    f.setBold(bold);
    button->setFont(f);
}

void Form1::Command7_Click() { popUp(mnuConfig); }
void Form1::Command8_Click() { popUp(mnuStartGame); }
void Form1::Command1_Click() { popUp(mnuTools); }
void Form1::Command9_Click() { popUp(mnuInformation); }
void Form1::Command7_GotFocus() { setBold(Command7, true); }
void Form1::Command8_GotFocus() { setBold(Command8, true); }
void Form1::Command1_GotFocus() { setBold(Command1, true); }
void Form1::Command9_GotFocus() { setBold(Command9, true); }
void Form1::Command7_LostFocus() { setBold(Command7, false); }
void Form1::Command8_LostFocus() { setBold(Command8, false); }
void Form1::Command1_LostFocus() { setBold(Command1, false); }
void Form1::Command9_LostFocus() { setBold(Command9, false); }
void Form1::Command7_MouseMove() { Command7->setFocus(); }
void Form1::Command8_MouseMove() { Command8->setFocus(); }
void Form1::Command1_MouseMove() { Command1->setFocus(); }
void Form1::Command9_MouseMove() { Command9->setFocus(); }

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    struct Handlers {
        QPushButton* button;
        void (Form1::*gotFocus)();
        void (Form1::*lostFocus)();
        void (Form1::*mouseMove)();
    };
    const Handlers all[] = {
        {Command7, &Form1::Command7_GotFocus, &Form1::Command7_LostFocus, &Form1::Command7_MouseMove},
        {Command8, &Form1::Command8_GotFocus, &Form1::Command8_LostFocus, &Form1::Command8_MouseMove},
        {Command1, &Form1::Command1_GotFocus, &Form1::Command1_LostFocus, &Form1::Command1_MouseMove},
        {Command9, &Form1::Command9_GotFocus, &Form1::Command9_LostFocus, &Form1::Command9_MouseMove},
    };
    // A popped-up menu takes the keyboard for a while without taking the focus from the
    // button that opened it: its focus changes are not the button's GotFocus/LostFocus.
    const auto fromPopup = [event] {
        return static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason;
    };
    for (const auto& h : all) {
        if (watched != h.button) continue;
        if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) && fromPopup()) break;
        switch (event->type()) {
        case QEvent::FocusIn: (this->*h.gotFocus)(); break;
        case QEvent::FocusOut: (this->*h.lostFocus)(); break;
        case QEvent::MouseMove: (this->*h.mouseMove)(); break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- configuration menu --------------------------------------------------------------------

void Form1::mnuDefaultCFG_Click() { moduleStart("tunebench"); }

void Form1::mnuLevelsCFG_Click() {
    try {
        platform().openInEditor(resolvePath(platform().currentDir(), "levels.nfo"));
    } catch (const RunError& e) {
        foundError(e);
    }
}

void Form1::mneOpenQfFolderCFG_Click() {
    try {
        platform().openFolder(state().korvexDir);
    } catch (const RunError& e) {
        foundError(e);
    }
}

void Form1::mnuSelectSkinCFG_Click() { moduleStart("dresser"); }

void Form1::mnuKorvexCFG_Click() {
    const int answer = showBox("Do you really want to exit Korvex and start the setup module?",
                               box::YesNo + box::Question, "question.");
    if (answer != box::Yes) return;
    moduleStart("prepdesk");
    Form_Unload();
}

void Form1::mnuStartDudoziRezudCFG_Click() { moduleStart("quillroom"); }

// --- game menu -----------------------------------------------------------------------------

void Form1::mnuSimpleGAME_Click() {
    try {
        platform().startProcess(resolvePath(state().korvexDir, "Game.exe"), {}, "", win::NormalFocus);
    } catch (const RunError& e) {
        foundError(e);
    }
}

void Form1::mnuSeatfinder_Click() { moduleStart("seatfinder"); }
void Form1::mnuMatchopener_Click() { moduleStart("matchopener"); }
void Form1::mnuDedicatedGAME_Click() { moduleStart("arenawarden"); }

// --- information menu ----------------------------------------------------------------------

void Form1::mnuConsoleINFO_Click() { moduleStart("commands"); }

void Form1::mnuBrowsethisWebSite_Click(int index) {
    if (index < 0 || index >= static_cast<int>(mnuBrowsethisWebSite.size())) return;
    try {
        retreiveWebSiteURL(arrayCaption(mnuBrowsethisWebSite[static_cast<size_t>(index)]));
    } catch (const RunError& e) {
        showError(e);
    }
}

void Form1::mnuInfoWebshelf_Click() { moduleStart("webshelf"); }

void Form1::mnuAboutINFO_Click() {
    Form6& about = form6();
    about.show();
    about.raise();
    about.activateWindow();
}

void Form1::mnuGettingStarted_Click() {
    // The main window's own StartURL writes no log lines.
    kx::startURL(localFileUrl(resolvePath(state().korvexDir, "korvex.wfd/helpfiles/help.htm")));
}

void Form1::showViewer(const std::string& path, const std::string& title) {
    state().viewerFile = path;
    const bool wasLoaded = loadedForm7() != nullptr;
    Form7& viewer = form7();
    if (wasLoaded) viewer.Form_Load();
    viewer.setWindowTitle(toUi(title));
    viewer.show();
    viewer.raise();
    viewer.activateWindow();
}

void Form1::mnueReadMeINFO_Click() {
    showViewer(state().korvexDir + "/korvex.wfd/config/korvex_readme.txt", "Quellfort Korvex - ReadMe");
}

void Form1::mnueHistoryINFO_Click() {
    showViewer(state().korvexDir + "/korvex.wfd/config/korvex_history.txt", "Quellfort Korvex - History");
}

// --- tools menu ----------------------------------------------------------------------------

void Form1::mnuToolsPlugIn_Click(int index) { runPlugInItem(index); }

void Form1::mnuToolsPlugInsReload_Click() { reloadPlugIns(); }

void Form1::mnuToolsPlugInSNShots_Click() {
    // The backup yields after each file: a second click meanwhile must not start another.
    if (backUpRunning()) return;
    const std::string result = backUpScreenShots(true);
    showBox(result, box::OkOnly + box::Information, "info.");
}

void Form1::mnuToolsPlugInSNShotsOpen_Click() {
    try {
        platform().openFolder(resolvedOrEmpty(state().snapShotDir));
    } catch (const RunError& e) {
        foundError(e);
    }
}

void Form1::mnuToolsPlugInsGameSpy_Click() {
    writeLog("Trying to execute Gamespy...");
    writeLog("Executing " + state().gameSpyFile);
    try {
        platform().startProcess(resolvedOrEmpty(state().gameSpyFile), {}, "", win::NormalFocus);
    } catch (const RunError& e) {
        foundError(e);
    }
}

void Form1::mnuToolsPlugInsTalkGate_Click() { moduleStart("talkgate"); }
void Form1::mnuToolsPlugInsAddonsmith_Click() { moduleStart("addonsmith"); }

// --- shut-down -----------------------------------------------------------------------------

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void Form1::Form_Unload() { TerminateMe(); }

void Form1::TerminateMe() {
    writeLog("TerminateMe() Received...");
    writeLog(">> Cleaning Up...");
    moduleStart("tidyup");
    writeLog(">>Terminating.");
    writeLog("Bye.");
    platform().endProgram(0);
}

} // namespace kx::launcher
