#include "frmSetup.h"

#include "frmGetGameSpyDir.h"
#include "frmGetScreenieDir.h"

#include "shared/Boxes.h"
#include "core/Files.h"
#include "shared/KorvexConfig.h"
#include "shared/Launch.h"
#include "shared/LevelList.h"
#include "shared/ModuleCommandLine.h"
#include "platform/Platform.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kx::prepdesk {

const std::string frmSetup::AutoexecText =
    "This feature enables Korvex to parse an Autoexec.ini while launching. PlugIns and Modules such as "
    "'MatchOpener' or 'Dedicated Server'. This feature is currently ";

namespace {

const std::string WarningText =
    "WARNING: When you do not configure a ScreenShot directory,\r\n"
    "Korvex might lead to errors when using this feature.\r\n"
    "\r\n"
    "I suggest:\r\n"
    "Create a new folder in your QF Dir, and name it 'SnapShots'\r\n"
    "Do so by clicking browse and selecting 'Create Dir'.";

QLabel* label(const char* name, const char* text, QWidget* parent, bool heading = false) {
    QLabel* l = plainLabel(toUi(text), parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    if (heading) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QPushButton* button(const char* name, const char* text, QWidget* parent) {
    auto* b = new QPushButton(toUi(text), parent);
    b->setObjectName(name);
    return b;
}

QComboBox* combo(const char* name, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    return c;
}

QPlainTextEdit* infoBox(const char* name, QWidget* parent) {
    auto* t = new QPlainTextEdit(parent);
    t->setObjectName(name);
    makeReadingText(t);
    return t;
}

LimitedTextBox* pathBox(const char* name, QWidget* parent) {
    auto* t = new LimitedTextBox(parent);
    t->setObjectName(name);
    t->setReadOnly(true);
    return t;
}

QFrame* line(const char* name, QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

} // namespace

frmSetup::frmSetup(const std::string& commandLine, QWidget* parent) : QWidget(parent) {
    setObjectName("frmSetup");
    setWindowTitle("Korvex Setup Wizard");
    buildPages();

    // The module lies in korvex.wfd/modules, two levels below the game directory. A relative
    // directory is made absolute here: it is stored in the settings for every later start.
    autoexec_ = "true";
    korvexDir_ = commandLine.empty() ? platform().currentDir() + "/../.." : absoluteBaseDir(commandLine);

    setShownText(Text1, toUi(loadInfo("firsttime.inf")));
    setShownText(Text2, toUi(loadInfo("finish.inf")));

    page_ = 0;
    for (int i = 0; i < 6; ++i) Picture1[size_t(i)]->setVisible(i == 0);
    focusFirstField();

    PlayerNameText->setText(toUi(shownText(pcNetName())));

    PlayerTeam->addItems({"auto", "blue", "red"});
    MultiPlayerGameType->addItems({"deathmatch", "ctf", "teamplay"});
    GameNameText->setText(PlayerNameText->text() + "'s Game");
    for (int n = 2; n <= 16; ++n) addComboText(MultiPlayerMaxPlayer, numText(static_cast<long long>(n)));
    selectComboIndex(MultiPlayerMaxPlayer, 6);
    selectComboIndex(PlayerTeam, 0);
    selectComboIndex(MultiPlayerGameType, 1);

    try {
        const LevelList levels = readLevelList(korvexDir_, "the airbase");
        for (const auto& name : levels.names) addComboText(MultiPlayerMap, name);
        selectComboIndex(MultiPlayerMap, levels.selected);
    } catch (const RunError& e) {
        showError(e.description() + " (" + levelListPath(korvexDir_) + ")", e.number());
        selectComboIndex(MultiPlayerMap, -1);
    }
}

frmSetup::~frmSetup() = default;

frmGetScreenieDir* frmSetup::screenieDirPicker() const { return screenie_.data(); }
frmGetGameSpyDir* frmSetup::gameSpyDirPicker() const { return gameSpy_.data(); }

void frmSetup::buildPages() {
    Label1 = label("Label1", "\"Quellfort Korvex\".", this, true);
    Line1 = line("Line1", this);
    Line2 = line("Line2", this);
    Command6 = button("Command6", "&Back", this);
    Command1 = button("Command1", "&Next", this);

    auto* pages = new QWidget(this);
    auto* stack = new QGridLayout(pages);
    stack->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 6; ++i) {
        auto* p = new QFrame(pages);
        p->setObjectName(QString("Picture1_%1").arg(i));
        Picture1[size_t(i)] = p;
        stack->addWidget(p, 0, 0);
    }

    // 0 welcome
    {
        QFrame* p = Picture1[0];
        auto* l = new QVBoxLayout(p);
        Text1 = infoBox("Text1", p);
        l->addWidget(Text1);
    }
    // 1 nickname
    {
        QFrame* p = Picture1[1];
        auto* l = new QVBoxLayout(p);
        Label3 = label("Label3", "Nickname validation", p, true);
        Label4 = label("Label4",
                       "You need a nickname, every time you play online or use the available chats. Korvex "
                       "looked-up your system and it retuned your computers network name like this...",
                       p);
        PlayerNameText = new LimitedTextBox(p);
        PlayerNameText->setObjectName("PlayerNameText");
        PlayerNameText->setTypingLimit(10);
        Label2 = label("Label2",
                       "This is the default value, you'll see everytime, you need a nickname. You can change it "
                       "now, if you want to. However, click \"Next\" when you finished.",
                       p);
        l->addWidget(Label3);
        l->addWidget(Label4);
        l->addWidget(PlayerNameText);
        l->addWidget(Label2);
        l->addStretch();
    }
    // 2 hosting defaults
    {
        QFrame* p = Picture1[2];
        auto* l = new QGridLayout(p);
        Label7 = label("Label7", "Default Hosting Options", p, true);
        Label6 = label("Label6", "Alter here the options, you'll see every time, you choose to play online...", p);
        Label5 = label("Label5", "Which team do you prefer ?", p);
        PlayerTeam = combo("PlayerTeam", p);
        Label9 = label("Label9", "What type of game do you wish?", p);
        MultiPlayerGameType = combo("MultiPlayerGameType", p);
        Label10 = label("Label10", "What map do you prefer?", p);
        MultiPlayerMap = combo("MultiPlayerMap", p);
        Label11 = label("Label11", "Your games name", p);
        GameNameText = new LimitedTextBox(p);
        GameNameText->setObjectName("GameNameText");
        GameNameText->setTypingLimit(16);
        Label12 = label("Label12", "Maximum number of players", p);
        MultiPlayerMaxPlayer = combo("MultiPlayerMaxPlayer", p);
        l->addWidget(Label7, 0, 0, 1, 2);
        l->addWidget(Label6, 1, 0, 1, 2);
        int row = 2;
        for (auto [lab, ctl] : std::initializer_list<std::pair<QLabel*, QWidget*>>{
                 {Label5, PlayerTeam}, {Label9, MultiPlayerGameType}, {Label10, MultiPlayerMap},
                 {Label11, GameNameText}, {Label12, MultiPlayerMaxPlayer}}) {
            l->addWidget(lab, row, 0);
            l->addWidget(ctl, row++, 1);
        }
        l->setRowStretch(row, 1);
    }
    // 3 GameSpy and screenshots
    {
        QFrame* p = Picture1[3];
        auto* l = new QGridLayout(p);
        Label17 = label("Label17", "GameSpy location and ScreenShot directory", p, true);
        Label18 = label("Label18",
                        "This makes GameSpy available to Korvex, please choose its location and executable...", p);
        Label8 = label("Label8", "Where can GameSpy be found?", p);
        GameSpyDir = pathBox("GameSpyDir", p);
        Command2 = button("Command2", "browse", p);
        Label14 = label("Label14", "Where is the ScreenShot directory?", p);
        SnapShotDir = pathBox("SnapShotDir", p);
        Command7 = button("Command7", "browse", p);
        Label13 = label("Label13", "Miscellanous options", p);
        AutoBackUp = new QCheckBox("BackUp Screenshot automatically on startup", p);
        AutoBackUp->setObjectName("AutoBackUp");
        setCheckValue(AutoBackUp, 0);
        l->addWidget(Label17, 0, 0, 1, 2);
        l->addWidget(Label18, 1, 0, 1, 2);
        l->addWidget(Label8, 2, 0, 1, 2);
        l->addWidget(GameSpyDir, 3, 0);
        l->addWidget(Command2, 3, 1);
        l->addWidget(Label14, 4, 0, 1, 2);
        l->addWidget(SnapShotDir, 5, 0);
        l->addWidget(Command7, 5, 1);
        l->addWidget(Label13, 6, 0, 1, 2);
        l->addWidget(AutoBackUp, 7, 0, 1, 2);
        l->setRowStretch(8, 1);
    }
    // 4 closing text
    {
        QFrame* p = Picture1[4];
        auto* l = new QVBoxLayout(p);
        Label19 = label("Label19", "Finish the configuration", p, true);
        Text2 = infoBox("Text2", p);
        l->addWidget(Label19);
        l->addWidget(Text2);
    }
    // 5 additional tasks
    {
        QFrame* p = Picture1[5];
        auto* l = new QVBoxLayout(p);
        Label15 = label("Label15", "Additional Tasks.", p, true);
        Label16 = label("Label16", "You can perform special additional tasks. select a button to do so.", p);
        Label21 = label("Label21",
                        "Since Version 3.1 Korvex can be skinned. You may now choose a skin or start Korvex with the "
                        "default skin. The SkinBrowser can be started from within Korvex anytime later.",
                        p);
        Command4 = button("Command4", "Choose a Korvex Skin.", p);
        Label20 = label("Label20", "", p);
        Label20->setText(toUi(AutoexecText + "enabled."));
        Command3 = button("Command3", "Enable / Disable Autoexec.ini parsing.", p);
        l->addWidget(Label15);
        l->addWidget(Label16);
        l->addWidget(Label21);
        l->addWidget(Command4);
        l->addWidget(Label20);
        l->addWidget(Command3);
        l->addStretch();
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command6);
    buttons->addWidget(Command1);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(Label1);
    outer->addWidget(Line1);
    outer->addWidget(pages, 1);
    outer->addWidget(Line2);
    outer->addLayout(buttons);
    resize(twips(7500), twips(6000));

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(PlayerNameText, &QLineEdit::textChanged, this, [this] { PlayerNameText_Change(); });
}

// The free text of korvex.wfd/config/<name>, each line followed by a line break. A file that cannot be
// read is reported by name and the page shows no text; the wizard goes on.
std::string frmSetup::loadInfo(const std::string& name) {
    const std::string path = resolvePath(korvexDir_, "korvex.wfd/config/" + name);
    std::vector<std::string> lines;
    try {
        lines = readLines(path);
    } catch (const RunError& e) {
        showError(e.description() + " (" + path + ")", e.number());
        return "";
    }
    // Line by line, letting the window breathe after each; the box breaks its lines at LF.
    std::string text;
    for (const auto& l : lines) {
        text += l + "\n";
        platform().doEvents();
    }
    return text;
}

void frmSetup::showPage(int page, int old) {
    Picture1[size_t(page)]->show();
    Picture1[size_t(old)]->hide();
    focusFirstField();
}

void frmSetup::focusFirstField() {
    // The first control of the page in Tab order, as a user pressing Tab would reach it.
    QFrame* panel = Picture1[size_t(page_)];
    for (QWidget* w = panel->nextInFocusChain(); w != panel; w = w->nextInFocusChain()) {
        if (!panel->isAncestorOf(w)) continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void frmSetup::PlayerNameText_Change() { GameNameText->setText(PlayerNameText->text() + "'s Game"); }

void frmSetup::writeConfiguration() {
    ConfigValues v;
    v.playerName = fromUi(PlayerNameText->text());
    v.defaultMap = comboText(MultiPlayerMap, MultiPlayerMap->currentIndex());
    v.gameType = MultiPlayerGameType->currentIndex();
    v.team = PlayerTeam->currentIndex();
    v.gameName = fromUi(GameNameText->text());
    v.maxPlayersIndex = MultiPlayerMaxPlayer->currentIndex();
    v.shotDir = SnapShotDir->bytes();
    v.gameSpy = GameSpyDir->bytes();
    v.autoSnap = checkValue(AutoBackUp);
    writeConfig(korvexDir_, v);
    platform().msgBox("Configuration written successfully.", box::OkOnly + box::Information, "info.");

    saveKorvexSetting(setting::KorvexDir, korvexDir_);
    saveKorvexSetting(setting::RegisteredUser, v.playerName);
    saveKorvexSetting(setting::WalkthroughDone, "false");
    saveKorvexSetting(setting::WebshelfFirstStart, "true");
    saveKorvexSetting(setting::GameSpyLocation, v.gameSpy);
    saveKorvexSetting(setting::SnapshotLocation, v.shotDir);
    saveKorvexSetting(setting::LoadServerSet, "NONE");
}

void frmSetup::Command1_Click() {
    if (page_ == 5) {
        unload();
        return;
    }
    try {
        if (SnapShotDir->text().isEmpty() && page_ == 3) {
            platform().msgBox(WarningText, box::OkOnly + box::Information, "Warning.");
            return;
        }
        const int old = page_;
        ++page_;
        if (old != 4) {
            showPage(page_, old);
            return;
        }
        writeConfiguration();
        showPage(5, 4);
        Command6->setEnabled(false);
    } catch (const RunError& e) {
        showError("Critical error during filewrite.\r\n" + e.description(), e.number());
        unload();
    }
}

void frmSetup::Command6_Click() {
    // Once the configuration is written there is no way back.
    if (!Command6->isEnabled() || page_ == 0) return;
    const int old = page_;
    --page_;
    showPage(page_, old);
}

void frmSetup::Command2_Click() {
    // A picker that was closed may still wait for its deletion: open a new one then.
    if (!gameSpy_ || gameSpy_->isHidden()) gameSpy_ = new frmGetGameSpyDir(GameSpyDir, this);
    gameSpy_->show();
    gameSpy_->raise();
    gameSpy_->activateWindow();
}

void frmSetup::Command7_Click() {
    if (!screenie_ || screenie_->isHidden()) screenie_ = new frmGetScreenieDir(SnapShotDir, this);
    screenie_->show();
    screenie_->raise();
    screenie_->activateWindow();
}

void frmSetup::Command3_Click() {
    const std::string flag = autoexec_ == "true" ? "false" : "true";
    // Label and flag change only once the file says so too.
    try {
        rewriteConfigLine(korvexDir_, cfgkey::DoAutoexec, flag, "korvex.cfg.stp");
    } catch (const RunError& e) {
        showError(e);
        return;
    }
    autoexec_ = flag;
    Label20->setText(toUi(AutoexecText + (flag == "true" ? "enabled." : "disabled.")));
}

void frmSetup::Command4_Click() { moduleStart(korvexDir_, "dresser"); }

void frmSetup::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    // The pickers go first, so that none can write into a closed wizard.
    delete screenie_.data();
    delete gameSpy_.data();
    hide();
    platform().endProgram(0);
}

void frmSetup::closeEvent(QCloseEvent* event) {
    event->accept();
    unload();
}

} // namespace kx::prepdesk
