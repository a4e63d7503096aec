#include "frmHost.h"

#include "HostCommand.h"

#include "shared/Boxes.h"
#include "shared/KorvexConfig.h"
#include "shared/LevelList.h"
#include "shared/ModuleCommandLine.h"
#include "platform/Platform.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include "shared/widgets/LimitedTextBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kx::matchopener {

namespace {

QComboBox* dropDownList(const char* name) {
    auto* c = named(new QComboBox, name);
    c->setEditable(false);
    return c;
}

// A file the window needs could not be read: say which, and open with what there is.
void reportUnreadable(const RunError& e, const std::string& path) {
    showError(e.description() + ": " + path, e.number());
}

} // namespace

frmHost::frmHost(std::string commandLine, QWidget* parent)
    : QWidget(parent), commandLine_(std::move(commandLine)) {
    setObjectName("frmHost");
    setWindowTitle("hosting...");
    setFont(namedFont("Verdana", 8));

    Combo1 = dropDownList("Combo1");
    Text1 = named(textBox("Your name"), "Text1");
    Combo2 = dropDownList("Combo2");
    Text2 = named(textBox("Text2"), "Text2");
    Combo4 = dropDownList("Combo4");
    Combo3 = dropDownList("Combo3");
    Command1 = named(new QPushButton("&Ok"), "Command1");
    Command2 = named(new QPushButton("&Cancel"), "Command2");
    Label1 = named(plainLabel("You"), "Label1");
    Label2 = named(plainLabel("Your Game"), "Label2");
    Label3 = named(plainLabel("your name"), "Label3");
    Label4 = named(plainLabel("assign team"), "Label4");
    Label5 = named(plainLabel("maxmimum number of players"), "Label5");
    Label6 = named(plainLabel("your games name"), "Label6");
    Label7 = named(plainLabel("what map do you prefer?"), "Label7");
    Label8 = named(plainLabel("what type of game do you wish?"), "Label8");
    QFont bold = font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2->setFont(bold);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(Label1, row++, 0, 1, 2);
    grid->addWidget(Label3, row, 0);
    grid->addWidget(Text1, row++, 1);
    grid->addWidget(Label4, row, 0);
    grid->addWidget(Combo2, row++, 1);
    grid->addWidget(Label2, row++, 0, 1, 2);
    grid->addWidget(Label6, row, 0);
    grid->addWidget(Text2, row++, 1);
    grid->addWidget(Label5, row, 0);
    grid->addWidget(Combo1, row++, 1);
    grid->addWidget(Label7, row, 0);
    grid->addWidget(Combo4, row++, 1);
    grid->addWidget(Label8, row, 0);
    grid->addWidget(Combo3, row++, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttons);

    // "&Ok" is the window's default button: Enter presses it unless another button has focus;
    // Escape is "&Cancel".
    setDialogKeys(this, Command1, Command2);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void frmHost::Form_Load() {
    const auto dir = checkModuleCommandLine(commandLine_, ModuleCheck{false, false});
    if (!dir) platform().endProgram(0);
    korvexDir_ = *dir;

    const std::string keyName = cfgkey::PlayerName + "=", keyMap = cfgkey::DefaultMap + "=",
                      keyType = cfgkey::GameType + "=", keyTeam = cfgkey::Team + "=",
                      keyGame = cfgkey::GameName + "=", keyPlayers = cfgkey::MaxPlayers + "=";
    std::map<std::string, std::string> cfg;
    try {
        cfg = readConfig(korvexDir_, KeyPrefixRule{11, 11},
                         {keyName, keyMap, keyType, keyTeam, keyGame, keyPlayers});
    } catch (const RunError& e) {
        reportUnreadable(e, configPath(korvexDir_));
    }
    auto value = [&cfg](const std::string& key) {
        auto it = cfg.find(key);
        return it == cfg.end() ? std::string() : it->second;
    };

    Combo2->clear();
    Combo3->clear();
    Combo1->clear();
    for (int i = 0; i < 3; ++i) Combo2->addItem(toUi(teamWord(i)));
    for (int i = 0; i < 3; ++i) Combo3->addItem(toUi(gameTypeWord(i)));
    for (int players = 2; players <= 16; ++players) Combo1->addItem(toUi(numText(static_cast<long long>(players))));

    Text1->setText(toUi(value(keyName)));
    Text2->setText(toUi(value(keyGame)));
    selectComboIndex(Combo1, storedIndex(value(keyPlayers), Combo1->count()));
    selectComboIndex(Combo2, storedIndex(value(keyTeam), Combo2->count()));
    selectComboIndex(Combo3, storedIndex(value(keyType), Combo3->count()));

    Combo4->clear();
    LevelList levels;
    try {
        levels = readLevelList(korvexDir_, value(keyMap));
    } catch (const RunError& e) {
        reportUnreadable(e, levelListPath(korvexDir_));
    }
    for (const auto& name : levels.names) addComboText(Combo4, name);
    // The first item added selected itself; the remembered line decides (none: -1).
    selectComboIndex(Combo4, levels.selected);
}

void frmHost::Command1_Click() {
    HostChoice choice;
    choice.players = comboText(Combo1, Combo1->currentIndex());
    choice.name = fromUi(Text1->text());
    choice.team = comboText(Combo2, Combo2->currentIndex());
    choice.gameName = fromUi(Text2->text());
    choice.map = comboText(Combo4, Combo4->currentIndex());
    choice.gameType = comboText(Combo3, Combo3->currentIndex());
    const GameCommand cmd = hostCommand(korvexDir_, choice);
    try {
        platform().setCurrentDir(korvexDir_);
        platform().startProcess(cmd.program, cmd.args, korvexDir_, win::NormalFocus);
    } catch (const RunError& e) {
        // Above all a game program that cannot be started: the window stays for another try.
        foundError(e);
        return;
    }
    close();
}

void frmHost::Command2_Click() { close(); }

void frmHost::closeEvent(QCloseEvent* event) {
    // Unloading the window ends the module: it is the program's only window.
    unloaded_ = true;
    event->accept();
}

} // namespace kx::matchopener
