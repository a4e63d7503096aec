#include "Form1.h"

#include "Form2.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/Boxes.h"
#include "shared/ModuleCommandLine.h"
#include "shared/PlugInScript.h"
#include "shared/Ui.h"
#include "shared/widgets/LimitedTextBox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kx::addonsmith {

namespace {

// Values keep the bytes they were loaded with until the user types (then the game's
// Windows-1252); the name becomes a file name and is kept as this machine spells file names.
std::string typed(const QLineEdit* t) { return static_cast<const LimitedTextBox*>(t)->bytes(); }
std::string typedName(const QLineEdit* t) { return fromUiName(t->text()); }

// The root and the program name a folder and a program on disk: typed, they are spelt as this
// machine spells names (UTF-8); loaded, they keep their bytes while the box shows them.
std::string typedPath(const QLineEdit* t, const std::string& loaded) {
    return toUi(loaded) == t->text() ? loaded : fromUiName(t->text());
}

} // namespace

Form1::Form1(std::string commandLine, QWidget* parent) : QWidget(parent), commandLine_(std::move(commandLine)) {
    setObjectName("Form1");
    setWindowTitle("Korvex PlugIn Wizard");

    Label1 = named(plainLabel("This wizard enables you to easily write a plugin script for Korvex3.", this), "Label1");
    Label2 = named(plainLabel("Name Your PlugIn", this), "Label2");
    Label3 = named(plainLabel("Author's Name", this), "Label3");
    Label4 = named(plainLabel("PlugIn Version", this), "Label4");
    Label5 = named(plainLabel("Application root", this), "Label5");
    Label6 = named(plainLabel("Application executable file", this), "Label6");
    Text1 = named(textBox("launch my plugin"), "Text1");
    Text2 = named(textBox("unknown"), "Text2");
    Text3 = named(textBox("1.0"), "Text3");
    Text4 = named(textBox("\\"), "Text4");
    Text5 = named(textBox("myplugin.exe"), "Text5");

    Frame1 = named(new QGroupBox(this), "Frame1");
    Check1 = named(new QCheckBox("I want Korvex to show debugging information on launch of my PlugIn", Frame1), "Check1");
    Check2 = named(new QCheckBox("My PlugIn needs to query the Quellfort directory from commandline", Frame1), "Check2");
    Check3 = named(new QCheckBox("The Application root path, I specified is relative to the end users Quellfort directory.",
                                 Frame1),
                   "Check3");
    Check4 = named(new QCheckBox("I want Korvex to show the user that the PlugIn was launched successfully", Frame1),
                   "Check4");
    setCheckValue(Check3, 1);
    setCheckValue(Check4, 1);
    auto* frameLayout = new QVBoxLayout(Frame1);
    for (QCheckBox* c : {Check1, Check2, Check3, Check4}) frameLayout->addWidget(c);

    Command1 = named(new QPushButton("&Quit", this), "Command1");
    Command2 = named(new QPushButton("&Write PlugIn", this), "Command2");
    Command3 = named(new QPushButton("&Load PlugIn", this), "Command3");
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);

    auto* fields = new QGridLayout;
    int row = 0;
    for (auto [label, text] : {std::pair{Label2, Text1}, {Label3, Text2}, {Label4, Text3}, {Label5, Text4},
                               {Label6, Text5}}) {
        fields->addWidget(label, row, 0);
        fields->addWidget(text, row++, 1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch(1);
    buttons->addWidget(Command3);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(fields);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
}

void Form1::Form_Load() {
    const auto dir = checkModuleCommandLine(commandLine_);
    if (!dir) platform().endProgram(0);
    korvexDir_ = *dir;
}

Form2* Form1::loadDialog() const { return form2_; }

void Form1::Command1_Click() { close(); }

void Form1::Command2_Click() { WritePlugIn(); }

void Form1::Command3_Click() {
    if (!form2_) {
        form2_ = new Form2(*this, this);
        form2_->setAttribute(Qt::WA_DeleteOnClose);
        form2_->Form_Load();
    }
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
}

void Form1::WritePlugIn() {
    if (Text1->text().isEmpty()) {
        platform().msgBox("Your PlugIn has not been named.\r\nPlease name your PlugIn.", box::OkOnly + box::Exclamation,
                          "Error.");
        return;
    }
    if (!Text4->text().endsWith('\\')) {
        const int answer = platform().msgBox(
            "Your Approot path does not end with '\\'.\r\nThis can cause problems.\r\n\r\nShall I correct that?",
            box::YesNo + box::Question, "'\\' missing...");
        if (answer == box::Yes) {
            rootBytes_ = typedPath(Text4, rootBytes_) + "\\";
            static_cast<LimitedTextBox*>(Text4)->setBytes(rootBytes_);
        }
    }
    try {
        // The typed name itself must be a file name: no folder of its own, no way out of the
        // plug-in folder. The folder is not created.
        const std::string name = typedName(Text1);
        if (!isValidFileName(name)) throw RunError(err::BadFileName);
        PlugInFields f;
        f.name = name;
        f.author = typed(Text2);
        f.version = typed(Text3);
        f.appRoot = typedPath(Text4, rootBytes_);
        f.appFile = typedPath(Text5, fileBytes_);
        f.shDebug = checkValue(Check1) == 1;
        f.usesWfd = checkValue(Check2) == 1;
        f.usesQfd = checkValue(Check3) == 1;
        f.rtnInfo = checkValue(Check4) == 1;
        // Whole or not at all: a failed write keeps the old file. A file of that name in other
        // capitals is the same plug-in and is replaced, not doubled.
        writeLinesAtomic(resolvePath(plugInFolder(korvexDir_), name + ".spi"), plugInScriptLines(f));
    } catch (const RunError& e) {
        showError("An error occured writing the plugin. possibly not written correctly.\r\n" + e.description(),
                  e.number());
        return;
    }
    platform().msgBox("PlugIn Succesfully written to Korvex PlugIn directory.", box::OkOnly + box::Information,
                      "done.");
}

void Form1::readPlugIn(const std::string& folder, const std::string& fileName) {
    const auto lines = readLines(joinPath(folder, fileName));
    const std::string name = fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
    Text1->setText(toUi(name));
    const auto values = readPlugInScript(lines, SpiRules::Wizard);
    const auto set = [&](const char* key, QLineEdit* field, std::string* kept = nullptr) {
        auto it = values.find(key);
        if (it == values.end()) return;
        static_cast<LimitedTextBox*>(field)->setBytes(it->second);
        if (kept) *kept = it->second;
    };
    const auto tick = [&](const char* key, QCheckBox* box) {
        if (auto it = values.find(key); it != values.end()) setCheckValue(box, textToBool(it->second));
    };
    set(spikey::Author, Text2);
    set(spikey::Version, Text3);
    set(spikey::AppRoot, Text4, &rootBytes_);
    set(spikey::AppFile, Text5, &fileBytes_);
    tick(spikey::ShDebug, Check1);
    tick(spikey::UsesWfd, Check2);
    tick(spikey::UsesQfd, Check3);
    tick(spikey::RtnInfo, Check4);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    unloaded_ = true;
    // The dialog goes with the wizard.
    if (form2_) form2_->close();
}

} // namespace kx::addonsmith
