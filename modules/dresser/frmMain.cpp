#include "frmMain.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/Boxes.h"
#include "shared/KorvexConfig.h"
#include "shared/ModuleCommandLine.h"
#include "shared/SkinFolders.h"
#include "shared/Ui.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace kx::dresser {

namespace {

const char* const TempName = "korvex.cfg.new";

} // namespace

std::string shownInfo(const std::vector<std::string>& lines) {
    std::string shown;
    for (const auto& line : lines)
        if (line.empty() || line[0] != ';') shown += line + "\n";
    return shown;
}

frmMain::frmMain(std::string commandLine, QWidget* parent)
    : QWidget(parent), commandLine_(std::move(commandLine)) {
    setObjectName("frmMain");
    setWindowTitle("choosing skin...");
    setFont(namedFont("Verdana", 8));

    List1 = named(new QListWidget, "List1");
    List1->setSortingEnabled(false);
    Text1 = named(new QPlainTextEdit, "Text1");
    Text1->setFont(namedFont("Lucida Console", 8));
    makeReadingText(Text1);
    Command1 = named(new QPushButton(EnableRandom), "Command1");
    Command2 = named(new QPushButton("Apply"), "Command2");
    Command3 = named(new QPushButton("Cancel"), "Command3");
    Label1 = named(plainLabel("Select Skin"), "Label1");
    Label2 = named(plainLabel("Skin Information..."), "Label2");

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(List1, 1, 0);
    grid->addWidget(Text1, 1, 1);
    grid->setColumnStretch(1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttons);
    resize(twips(7200), twips(4200));
    // Escape is "Cancel"; Return is "Apply" unless a button has the focus.
    setDialogKeys(this, Command2, Command3);

    // A click or the arrow keys: the description follows the selection. A click makes the item
    // current before it selects it, the arrow keys select before they make it current: the
    // description is read once both are done, whichever signal comes last.
    auto follow = [this] {
        if (listIndex(List1) != shownIndex_) List1_Click();
    };
    connect(List1, &QListWidget::currentRowChanged, this, follow);
    connect(List1, &QListWidget::itemSelectionChanged, this, follow);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
}

void frmMain::Form_Load() {
    const auto dir = checkModuleCommandLine(commandLine_);
    if (!dir) platform().endProgram(0);
    korvexDir_ = *dir;

    // No skins folder, or one without skins, leaves the list empty and nothing selected.
    List1->clear();
    names_ = skinNames(skinsFolder(korvexDir_));
    for (const auto& name : names_) {
        List1->addItem(toUi(name));
        platform().doEvents();
    }
    if (List1->count() > 0) {
        {
            const QSignalBlocker quiet(List1);
            selectListIndex(List1, 0);
        }
        List1_Click();
    }
}

void frmMain::List1_Click() {
    Text1->clear();
    const int index = listIndex(List1);
    shownIndex_ = index;
    if (index < 0) return;
    const std::string& name = names_.at(static_cast<size_t>(index));
    // The folder name is used as listed: a "\" in it is no separator here.
    const std::string info = resolvePath(joinPath(skinsFolder(korvexDir_), name), "skininfo.ini");
    std::vector<std::string> lines;
    try {
        lines = readLines(info);
    } catch (const RunError& e) {
        // A skin without a description shows none; any other failure is said.
        if (e.number() != err::FileNotFound) showError(e.description() + ": " + info, e.number());
        return;
    }
    setShownText(Text1, toUi(shownInfo(lines)));
}

bool frmMain::rewrite(const std::string& key, const std::string& value) {
    const std::string cfg = configPath(korvexDir_);
    int replaced = 0;
    try {
        replaced = rewriteConfigLine(korvexDir_, key, value, TempName);
    } catch (const RunError& e) {
        showError(e.description() + ": " + cfg, e.number());
        return false;
    }
    if (replaced == 0) {
        // Nothing would change at the next start: not to be reported as done, and no run error
        // either, since none happened.
        platform().msgBox("korvex.cfg has no " + key + " line, so nothing was changed:\r\n" + cfg,
                          box::OkOnly + box::Exclamation, "Error.");
        return false;
    }
    return true;
}

void frmMain::Command2_Click() {
    const int index = listIndex(List1);
    if (index < 0) {
        platform().msgBox("Select a skin first.", box::OkOnly + box::Exclamation, "Error.");
        return;
    }
    const std::string& name = names_.at(static_cast<size_t>(index));
    if (!rewrite(cfgkey::UsedSkin, name)) return;
    platform().msgBox("The selected skin '" + name + "' has been applied.\r\n"
                      "Please restart Korvex for the settings to take effect.",
                      box::OkOnly + box::Information, "Skin applied.");
    platform().endProgram(0);
}

void frmMain::Command1_Click() {
    const bool enable = fromUi(Command1->text()) == EnableRandom;
    const std::string value = enable ? "true" : "false";
    // The caption changes only once the file says so too.
    if (!rewrite(cfgkey::RandomSkin, value)) return;
    Command1->setText(enable ? DisableRandom : EnableRandom);
    platform().msgBox("RandomSkins have been set to be '" + value + "'\r\n"
                      "Please restart Korvex for the settings to take effect.",
                      box::OkOnly + box::Information, "Option applied.");
}

void frmMain::Command3_Click() { platform().endProgram(0); }

} // namespace kx::dresser
