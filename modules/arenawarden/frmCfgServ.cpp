#include "frmCfgServ.h"

#include "GameServer.h"
#include "Helpers.h"
#include "ModuleState.h"
#include "ServerSets.h"
#include "TextControls.h"
#include "frmLoadListDialog.h"
#include "frmServerModule.h"

#include "core/Files.h"
#include "shared/KorvexConfig.h"
#include "shared/Launch.h"
#include "shared/LevelList.h"
#include "shared/ServerSetNames.h"
#include "platform/Platform.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/Ui.h"
#include "shared/widgets/CommandLabel.h"
#include "shared/widgets/FileControls.h"
#include "shared/widgets/KeyScrollBar.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace kx::arenawarden {

namespace {

template <class F>
void guarded(F&& f) {
    try {
        f();
    } catch (const RunError& e) {
        ShowTaskError(e.description(), e.number());
    }
}

// A step of a command that is skipped when it fails; the next one runs.
template <class F>
void step(F&& f) {
    try {
        f();
    } catch (const RunError&) {
    }
}

QLabel* label(const char* name, const char* text) {
    auto* l = plainLabel(QString::fromLatin1(text));
    l->setObjectName(name);
    l->setWordWrap(true);
    return l;
}

// A label that acts as a command: reached by Tab, acts on a click, Return and Space.
CommandLabel* command(const char* name, const char* text) {
    auto* l = new CommandLabel(QString::fromLatin1(text));
    l->setObjectName(name);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    return l;
}

QWidget* subPage(const char* name) {
    auto* w = new QWidget;
    w->setObjectName(name);
    w->setAutoFillBackground(true);
    w->hide();
    return w;
}

const std::string kSaveListPrompt = std::string("Please enter an max 20 character filename, without extension.") +
                                    CRLF + "existing files, with the same name, will be overwritten.";

} // namespace

frmCfgServ::frmCfgServ() {
    setObjectName("frmCfgServ");
    setWindowTitle(QStringLiteral("configuring the server module..."));
    setFont(namedFont("Verdana", 8));

    tbsConfigureTab = new QTabBar;
    tbsConfigureTab->setObjectName("tbsConfigureTab");
    const char* tabs[5][2] = {
        {"::startup", "startup dialogue of this module."},
        {"::server configuration", "configure server preferences suchs as appearance in gamespy."},
        {"::cycle time", "control the interval between mapcycles."},
        {"::map lists", "edit the map list, or set up a new normal server map."},
        {"::launch", "launch your server or create a serverset."}};
    for (int i = 0; i < 5; ++i) {
        tbsConfigureTab->addTab(QString::fromLatin1(tabs[i][0]));
        tbsConfigureTab->setTabToolTip(i, QString::fromLatin1(tabs[i][1]));
    }

    pages = new QStackedWidget;
    for (int i = 0; i < 5; ++i) {
        Picture1[size_t(i)] = new QWidget;
        Picture1[size_t(i)]->setObjectName(QStringLiteral("Picture1_%1").arg(i));
        pages->addWidget(Picture1[size_t(i)]);
    }

    // --- 0 start page, with its three sub-pages lying over it ---------------------------------
    lblKorvex3 = label("lblKorvex3", "Korvex3 dedicated server module + #Version and Build");
    Label15 = label("Label15", "Welcome to the Dedicated Server Module.");
    Label19 = label("Label19", "what would you like to do?");
    Label22 = command("Label22", "Launch a dedicated Server with my default settings.");
    Label21 = command("Label21", "Get Information about what this module does.");
    Label20 = command("Label20", "Process a ServerSet and launch my dedicated Server.");
    auto* start = new QWidget;
    startPage_ = start;
    auto* startLayout = new QVBoxLayout(start);
    for (QWidget* w : std::initializer_list<QWidget*>{lblKorvex3, Label15, Label19, Label22, Label21, Label20})
        startLayout->addWidget(w);
    startLayout->addStretch();

    Picture2 = subPage("Picture2");
    Text1 = new TextBox;
    Text1->setObjectName("Text1");
    Label23 = command("Label23", "Back");
    auto* infoLayout = new QVBoxLayout(Picture2);
    infoLayout->addWidget(Text1, 1);
    infoLayout->addWidget(Label23);

    Picture4 = subPage("Picture4");
    Label27 = label("Label27", "Please choose a ServerSet...");
    File1 = new FileListBox;
    File1->setObjectName("File1");
    // Only the sets it can load: a name that holds a path is left out.
    File1->setNameRule([](const std::string& name) { return isUsableServerSetName(name, false); });
    Label28 = command("Label28", "Ok, use the selected.");
    Label29 = command("Label29", "No, back to configuration.");
    auto* setLayout = new QVBoxLayout(Picture4);
    setLayout->addWidget(Label27);
    setLayout->addWidget(File1, 1);
    setLayout->addWidget(Label28);
    setLayout->addWidget(Label29);

    Picture3 = subPage("Picture3");
    Label26 = label("Label26", "Your ServerSet was loaded successful, with following details...");
    Protocol = new TextBox;
    Protocol->setObjectName("Protocol");
    Label25 = command("Label25", "Ok, launch my Server now.");
    Label24 = command("Label24", "Ok, back to configuration.");
    auto* confirmLayout = new QVBoxLayout(Picture3);
    confirmLayout->addWidget(Label26);
    confirmLayout->addWidget(Protocol, 1);
    confirmLayout->addWidget(Label25);
    confirmLayout->addWidget(Label24);

    auto* page0 = new QGridLayout(Picture1[0]);
    page0->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : {start, Picture2, Picture4, Picture3}) page0->addWidget(w, 0, 0);
    // However a sub-page comes and goes, the start page's commands under it are out of the
    // keyboard's reach while it lies over them (eventFilter).
    for (QWidget* w : {Picture2, Picture4, Picture3}) w->installEventFilter(this);

    // --- 1 server configuration -------------------------------------------------------------
    Label2 = label("Label2", "Server configuration");
    Label1 = label("Label1", "maxmimum number of players your server will host.");
    Combo1 = new QComboBox;
    Combo1->setObjectName("Combo1");
    Label4 = label("Label4", "the games name will be...");
    Text2 = textBox(QStringLiteral("#gamename"));
    Text2->setObjectName("Text2");
    Label6 = label("Label6", "gametype");
    Combo3 = new QComboBox;
    Combo3->setObjectName("Combo3");
    Check1 = new QCheckBox(QStringLiteral("This server works as a mapcycling server."));
    Check1->setObjectName("Check1");
    Check2 = new QCheckBox(QStringLiteral("This server advertises Korvex3."));
    Check2->setObjectName("Check2");
    setCheckValue(Check2, 1);
    auto* p1 = new QVBoxLayout(Picture1[1]);
    for (QWidget* w : std::initializer_list<QWidget*>{Label2, Label1, Combo1, Label4, Text2, Label6, Combo3, Check1,
                                                      Check2})
        p1->addWidget(w);
    p1->addStretch();

    // --- 2 cycle time -------------------------------------------------------------------------
    Label3 = label("Label3", "Cycle time");
    Label5 = label("Label5", "change the amount by scrolling");
    HScroll1 = new KeyScrollBar;
    HScroll1->setObjectName("HScroll1");
    HScroll1->setRange(10, 90);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(5);
    HScroll1->setValue(40);
    Text3 = new ClickLineEdit(QStringLiteral("40"));
    Text3->setObjectName("Text3");
    Label8 = label("Label8", "minutes.");
    Label7 = label("Label7", "Note: the cycling time will be ignored, if your server is not set up as a cycling server.");
    auto* minutes = new QHBoxLayout;
    minutes->addWidget(Text3);
    minutes->addWidget(Label8);
    minutes->addStretch();
    auto* p2 = new QVBoxLayout(Picture1[2]);
    p2->addWidget(Label3);
    p2->addWidget(Label5);
    p2->addWidget(HScroll1);
    p2->addLayout(minutes);
    p2->addWidget(Label7);
    p2->addStretch();

    // --- 3 map lists --------------------------------------------------------------------------
    Label9 = label("Label9", "Map lists");
    Label11 = label("Label11", "available maps...");
    Label12 = label("Label12", "rotated maps...");
    List1 = new QListWidget;
    List1->setObjectName("List1");
    List2 = new QListWidget;
    List2->setObjectName("List2");
    Command4 = new QPushButton(QStringLiteral(">"));
    Command4->setObjectName("Command4");
    Command5 = new QPushButton(QStringLiteral("<"));
    Command5->setObjectName("Command5");
    Command3 = new QPushButton(QStringLiteral("List"));
    Command3->setObjectName("Command3");
    Label10 = label("Label10", "Note: If your server is not mapcycling, then your map being played is the first map in "
                               "the rotation list.");
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(Command4);
    middle->addWidget(Command5);
    middle->addWidget(Command3);
    middle->addStretch();
    auto* lists = new QGridLayout;
    lists->addWidget(Label11, 0, 0);
    lists->addWidget(Label12, 0, 2);
    lists->addWidget(List1, 1, 0);
    lists->addLayout(middle, 1, 1);
    lists->addWidget(List2, 1, 2);
    auto* p3 = new QVBoxLayout(Picture1[3]);
    p3->addWidget(Label9);
    p3->addLayout(lists, 1);
    p3->addWidget(Label10);

    mnuListMenu = new QMenu(QStringLiteral("list option"), this);
    mnuListMenu->setObjectName("mnuListMenu");
    mnuListMenuLoadList = mnuListMenu->addAction(QStringLiteral("Load a rotation list"));
    mnuListMenuLoadList->setObjectName("mnuListMenuLoadList");
    mnuListMenuSaveList = mnuListMenu->addAction(QStringLiteral("Save a rotation list"));
    mnuListMenuSaveList->setObjectName("mnuListMenuSaveList");
    mnuListMenuSpacer = mnuListMenu->addSeparator();
    mnuListMenuSpacer->setObjectName("mnuListMenuSpacer");
    mnuListMenuClearList = mnuListMenu->addAction(QStringLiteral("Clear rotation list"));
    mnuListMenuClearList->setObjectName("mnuListMenuClearList");

    // --- 4 launch -----------------------------------------------------------------------------
    Label13 = label("Label13", "Launch server");
    Label14 = label("Label14", "If the server is configured to your needs, click \"launch\" to begin, or click \"end\" "
                               "to unload the server module.");
    Command1 = new QPushButton(QStringLiteral("launch"));
    Command1->setObjectName("Command1");
    Command2 = new QPushButton(QStringLiteral("end"));
    Command2->setObjectName("Command2");
    Label16 = label("Label16", "ServerSet");
    Label17 = label("Label17", "You may want to create a ServerSet with your current selected settings for later use.");
    Label18 = command("Label18", "Create ServerSet");
    auto* launchButtons = new QHBoxLayout;
    launchButtons->addWidget(Command1);
    launchButtons->addWidget(Command2);
    launchButtons->addStretch();
    auto* p4 = new QVBoxLayout(Picture1[4]);
    p4->addWidget(Label13);
    p4->addWidget(Label14);
    p4->addLayout(launchButtons);
    p4->addSpacing(12);
    p4->addWidget(Label16);
    p4->addWidget(Label17);
    p4->addWidget(Label18);
    p4->addStretch();

    auto* all = new QVBoxLayout(this);
    all->addWidget(tbsConfigureTab);
    all->addWidget(pages, 1);
    resize(560, 400);

    // --- events ---------------------------------------------------------------------------------
    auto on = [this](auto* sender, auto signal, void (frmCfgServ::*handler)()) {
        connect(sender, signal, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    on(tbsConfigureTab, &QTabBar::currentChanged, &frmCfgServ::tbsConfigureTab_Click);
    // A click on the tab already selected changes nothing in Qt, but runs the tab change here.
    connect(tbsConfigureTab, &QTabBar::tabBarClicked, this, [this](int i) {
        if (i >= 0 && i == tbsConfigureTab->currentIndex()) guarded([this] { tbsConfigureTab_Click(); });
    });
    on(Command1, &QPushButton::clicked, &frmCfgServ::Command1_Click);
    on(Command2, &QPushButton::clicked, &frmCfgServ::Command2_Click);
    on(Label22, &CommandLabel::clicked, &frmCfgServ::Label22_Click);
    on(Label21, &CommandLabel::clicked, &frmCfgServ::Label21_Click);
    on(Label23, &CommandLabel::clicked, &frmCfgServ::Label23_Click);
    on(Label20, &CommandLabel::clicked, &frmCfgServ::Label20_Click);
    on(Label28, &CommandLabel::clicked, &frmCfgServ::Label28_Click);
    on(Label29, &CommandLabel::clicked, &frmCfgServ::Label29_Click);
    on(Label25, &CommandLabel::clicked, &frmCfgServ::Label25_Click);
    on(Label24, &CommandLabel::clicked, &frmCfgServ::Label24_Click);
    on(Label18, &CommandLabel::clicked, &frmCfgServ::Label18_Click);
    on(HScroll1, &QScrollBar::valueChanged, &frmCfgServ::HScroll1_Change);
    on(Text3, &ClickLineEdit::clicked, &frmCfgServ::Text3_Click);
    on(Command4, &QPushButton::clicked, &frmCfgServ::Command4_Click);
    on(Command5, &QPushButton::clicked, &frmCfgServ::Command5_Click);
    on(Command3, &QPushButton::clicked, &frmCfgServ::Command3_Click);
    on(List1, &QListWidget::itemDoubleClicked, &frmCfgServ::List1_DblClick);
    on(List2, &QListWidget::itemDoubleClicked, &frmCfgServ::List2_DblClick);
    on(mnuListMenuLoadList, &QAction::triggered, &frmCfgServ::mnuListMenuLoadList_Click);
    on(mnuListMenuSaveList, &QAction::triggered, &frmCfgServ::mnuListMenuSaveList_Click);
    on(mnuListMenuClearList, &QAction::triggered, &frmCfgServ::mnuListMenuClearList_Click);
}

frmCfgServ::~frmCfgServ() { windowUnloaded(this); }

void frmCfgServ::LogProtocol(const std::string& line) { AppendLine(Protocol, line); }

void frmCfgServ::Form_Load() {
    ModuleState& s = state();
    // The file being read or applied, named in the box when the load fails.
    std::string reading = configPath(s.korvexDir);
    try {
        const std::vector<std::string> keys = {"playername=", "host-mpmap=", "host-gamet=",
                                               "host-teama=", "host-gamen=", "host-maxpl="};
        const auto cfg = readConfig(s.korvexDir, KeyPrefixRule{11, 11}, keys);
        auto has = [&](const std::string& k) { return cfg.count(k) != 0; };
        if (has("playername=")) s.cfgPlayerName = cfg.at("playername=");
        if (has("host-mpmap=")) s.cfgDefaultMap = cfg.at("host-mpmap=");
        if (has("host-gamet=")) s.cfgGameType = toInt16(val(cfg.at("host-gamet=")));
        if (has("host-teama=")) s.cfgTeam = cfg.at("host-teama=");
        if (has("host-gamen=")) s.cfgGameName = cfg.at("host-gamen=");
        if (has("host-maxpl=")) s.cfgMaxPlayers = toInt16(val(cfg.at("host-maxpl=")));

        for (int i = 0; i < 3; ++i) addComboText(Combo3, gameTypeWord(i));
        for (int n = 2; n <= 30; ++n) addComboText(Combo1, numText(static_cast<long long>(n)));
        Text2->setText(toUi(stripBreaks(s.cfgGameName)));
        selectComboIndex(Combo1, s.cfgMaxPlayers);
        selectComboIndex(Combo3, s.cfgGameType);

        reading = levelListPath(s.korvexDir);
        const LevelList levels = readLevelList(s.korvexDir, s.cfgDefaultMap);
        for (const auto& n : levels.names) addListText(List1, n);
        selectListIndex(List1, levels.selected);
        // The rotation list starts with the preselected map, or one empty entry.
        addListText(List2, listText(List1, listIndex(List1)));
        // The map list shows from its top with nothing selected (an empty one stays empty).
        if (List1->count() > 0) selectListIndex(List1, 0);
        selectListIndex(List1, -1);

        reading = resolvePath(s.korvexDir, "korvex.wfd/config/cyc_welcome.ini");
        Text1->setText(loadText(reading));
        tbsConfigureTab->setCurrentIndex(0);
        tbsConfigureTab_Click();
        AppendLine(Text1, "ZIV Internal Version" + numText(static_cast<long long>(VersionMajor)) + "." +
                              numTextTrimmed(VersionMinor) + " Build" +
                              numText(static_cast<long long>(VersionRevision)));
        lblKorvex3->setText(QStringLiteral("Korvex3 dedicated server module. "));
        loadFiles();
    } catch (const RunError& e) {
        // Without its configuration, level list and welcome text the module cannot be set up.
        ShowTaskError(e.description() + " (" + reading + ")", e.number());
        platform().endProgram(1);
    }

    // A ServerSet handed over by another module is launched once, at once. A settings store
    // that cannot be read or written is reported in the module's own box and the window stays;
    // a hand-over that cannot be marked as taken is not launched, or it would launch again at
    // every start.
    std::string handed;
    try {
        handed = getKorvexSetting(setting::LoadServerSet);
        if (handed != "NONE") saveKorvexSetting(setting::LoadServerSet, "NONE");
    } catch (const RunError& e) {
        ShowTaskError(e.description() + " (settings Korvex.ini)", e.number());
        return;
    }
    if (handed != "NONE") {
        LoadServerSet(*this, handed);
        Command1_Click();
    }
}

void frmCfgServ::loadFiles() {
    // A missing serversets folder lists no file.
    File1->setPattern("*.ini");
    File1->setPath(resolvePath(state().korvexDir, "korvex.wfd/config/serversets"));
    if (File1->count() > 0) File1->setCurrentRow(0);
}

void frmCfgServ::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    hide();
    windowUnloaded(this);
    deleteLater();
    if (state().endRequested) platform().endProgram(0);
}

void frmCfgServ::closeEvent(QCloseEvent* e) {
    e->accept();
    Form_Unload();
    endWhenNoWindowLeft();
}

bool frmCfgServ::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::Show && e->type() != QEvent::Hide) return QWidget::eventFilter(watched, e);
    const std::array<QWidget*, 3> subPages = {Picture2, Picture4, Picture3};
    const auto at = std::find(subPages.begin(), subPages.end(), watched) - subPages.begin();
    // Only a sub-page that came or went itself counts, not one shown or hidden with its tab.
    const bool up = !subPages[size_t(at)]->isHidden();
    if (up == subPageUp_[size_t(at)]) return QWidget::eventFilter(watched, e);
    subPageUp_[size_t(at)] = up;
    const bool covered = std::find(subPageUp_.begin(), subPageUp_.end(), true) != subPageUp_.end();
    startPage_->setVisible(!covered);
    // Focus goes to the first field of the page that came, or back to the start page's first
    // command when the one it stood on went.
    if (up) {
        const std::array<QWidget*, 3> first = {Text1, File1, Protocol};
        first[size_t(at)]->setFocus();
    } else if (!covered) {
        QWidget* focus = focusWidget();
        if (!focus || !focus->isVisible()) Label22->setFocus();
    }
    return QWidget::eventFilter(watched, e);
}

void frmCfgServ::tbsConfigureTab_Click() {
    const int tab = tbsConfigureTab->currentIndex();
    if (tab >= 0) pages->setCurrentIndex(tab);
}

void frmCfgServ::showSubPage(QWidget* page) {
    page->show();
    page->raise();
}

bool frmCfgServ::typedCycleTimeUsed() const {
    const double typed = val(fromUi(Text3->text()));
    return typed >= 10 && typed <= 90;
}

double frmCfgServ::cycleMinutes() const { return typedCycleTimeUsed() ? val(fromUi(Text3->text())) : HScroll1->value(); }

QString frmCfgServ::cycleMinutesText() const {
    return typedCycleTimeUsed() ? Text3->text() : toUi(numText(static_cast<long long>(HScroll1->value())));
}

void frmCfgServ::Command1_Click() {
    if (List2->count() == 0) {
        platform().msgBox("No Maps in cycle. Launch aborted.", box::Exclamation, "Error.");
        return;
    }
    if (checkValue(Check2) == 1) Text2->setText(QStringLiteral("KX3.") + Text2->text());
    ModuleState& s = state();
    const std::string name = stripBreaks(fromUi(Text2->text()));
    const std::string players = comboText(Combo1, Combo1->currentIndex());
    const std::string gameType = comboText(Combo3, Combo3->currentIndex());

    if (checkValue(Check1) == 0) {
        step([&] { platform().setCurrentDir(s.korvexDir); });
        step([&] { StartServer(toInt16(val(players)), name, listText(List2, 0), gameType); });
        platform().endProgram(0);
    }

    frmServerModule* m = nullptr;
    step([&] { m = &serverModule(); });
    if (!m) return;
    // A caption made from a value: "&" and a tab are shown as text.
    step([&] { m->Frame3->setTitle(menuText(name)); });
    step([&] { m->lblGameType->setText(toUi("Gametype is '" + gameType + "'.")); });
    step([&] { m->lblMaxPlayers->setText(toUi("Server will host" + players + " Players.")); });
    // The minutes the cycling uses: the typed ones within their range, else the slider's.
    step([&] { m->lblCycleCount->setText(QStringLiteral("Server will cycle map every ") + cycleMinutesText() +
                                          QStringLiteral(" minutes.")); });
    step([&] {
        selectListIndex(List2, -1);
        while (listIndex(List2) + 1 < List2->count()) {
            selectListIndex(List2, listIndex(List2) + 1);
            addListText(m->List1, listText(List2, listIndex(List2)));
        }
    });
    step([&] { s.cycleMinutes = cycleMinutes(); });
    step([&] { s.serverPlayers = toInt16(val(players)); });
    s.serverGameType = gameType;
    s.serverName = name;
    step([&] { m->show(); });
    step([&] { m->Command1_Click(); });
    Form_Unload();
}

void frmCfgServ::Command2_Click() {
    state().endRequested = true;
    Form_Unload();
}

void frmCfgServ::Label22_Click() { Command1_Click(); }
void frmCfgServ::Label21_Click() { showSubPage(Picture2); }
void frmCfgServ::Label23_Click() { Picture2->hide(); }
void frmCfgServ::Label20_Click() { showSubPage(Picture4); }

void frmCfgServ::Label28_Click() {
    Picture4->hide();
    ApplyServerSet(*this, File1->fileName());
}

void frmCfgServ::Label29_Click() { Picture4->hide(); }

void frmCfgServ::Label25_Click() {
    tbsConfigureTab->setEnabled(true);
    Picture3->hide();
    Command1_Click();
}

void frmCfgServ::Label24_Click() {
    tbsConfigureTab->setEnabled(true);
    Picture3->hide();
}

void frmCfgServ::Label18_Click() {
    const std::string prompt = kSaveListPrompt + CRLF + "Do not use illagal characters such as \\ / : * ? " + "\"" +
                               " < > |";
    const std::string name = stripBreaks(platform().inputBox(prompt, "Please enter filename", "newserverset"));
    if (name.size() > 20) {
        platform().msgBox("Filename is larger than 20 characters. aborting.", box::OkOnly, "error.");
        return;
    }
    if (name.empty()) {
        platform().msgBox("Aborted creation of ServerSet.", box::OkOnly, "error.");
        return;
    }
    SaveServerSet(*this, typedName(name));
    File1->refresh();
}

void frmCfgServ::HScroll1_Change() { Text3->setText(toUi(numText(static_cast<long long>(HScroll1->value())))); }

void frmCfgServ::Text3_Click() {
    const std::string answer =
        stripBreaks(platform().inputBox("please enter a new value between 10 and 90.", "input requested", "40"));
    if (answer.empty()) return;
    const double v = val(answer);
    if (v >= 10 && v <= 90) {
        Text3->setText(toUi(answer));
        HScroll1->setValue(toInt16(v));
    } else {
        platform().msgBox("only values between 10 and 90", box::Exclamation, "exclamation");
    }
}

void frmCfgServ::Command4_Click() {
    step([&] { addListText(List2, listText(List1, listIndex(List1))); });
    step([&] {
        // Walks down the map list and starts again at its top.
        const int at = listIndex(List1);
        selectListIndex(List1, at == List1->count() - 1 ? 0 : at + 1);
    });
}

void frmCfgServ::Command5_Click() {
    step([&] {
        const int at = listIndex(List2);
        if (at < 0) return;
        delete List2->takeItem(at);
        selectListIndex(List2, -1);
    });
    step([&] { selectListIndex(List2, listIndex(List2) + 1); });
}

void frmCfgServ::Command3_Click() { mnuListMenu->popup(QCursor::pos()); }

void frmCfgServ::List1_DblClick() {
    step([&] { addListText(List2, listText(List1, listIndex(List1))); });
}

void frmCfgServ::List2_DblClick() {
    step([&] {
        const int at = listIndex(List2);
        if (at < 0) return;
        delete List2->takeItem(at);
        selectListIndex(List2, -1);
    });
}

void frmCfgServ::mnuListMenuLoadList_Click() {
    if (!loadDialog_) {
        loadDialog_ = new frmLoadListDialog(this);
        loadDialog_->Form_Load();
    }
    loadDialog_->show();
    loadDialog_->raise();
}

void frmCfgServ::mnuListMenuSaveList_Click() {
    const std::string name = stripBreaks(platform().inputBox(kSaveListPrompt, "Please enter filename", "newrotationlist"));
    if (name.size() > 20) {
        platform().msgBox("Filename is larger than 20 characters. aborting.", box::OkOnly, "error.");
        return;
    }
    if (List2->count() == 0) {
        platform().msgBox("The Cyclelist is clear, and can't be saved to disk", box::Exclamation, "error.");
        return;
    }
    std::vector<std::string> lines;
    for (int i = 0; i < List2->count(); ++i) {
        selectListIndex(List2, i);
        lines.push_back(stripBreaks(listText(List2, i)));
    }
    try {
        // The empty name is taken: its file ".nfo" is listed, since the load dialog shows
        // hidden files.
        if (!name.empty() && !isListedName(typedName(name))) throw RunError(err::BadFileName);
        const std::string file = typedName(name) + ".nfo";
        if (!isValidFileName(file)) throw RunError(err::BadFileName);
        // Written whole to a temporary file and renamed: a failed save keeps the old list file.
        writeLinesAtomic(resolvePath(state().korvexDir, "korvex.wfd/config/cyclelists/" + file), lines);
    } catch (const RunError& e) {
        if (e.number() == err::DiskFull || e.number() == err::DeviceIO)
            platform().msgBox("The Cyclelist is clear, and can't be saved to disk", box::Exclamation, "error.");
        else
            ShowTaskError(e.description(), e.number());
        return;
    }
    selectListIndex(List2, 0);
    platform().msgBox("File saved successful.", box::Information, "info.");
}

void frmCfgServ::mnuListMenuClearList_Click() {
    if (platform().msgBox("Do you really want to clear the active list?", box::YesNo + box::Question, "question.") !=
        box::No)
        List2->clear();
}

} // namespace kx::arenawarden
