#include "frmMain.h"

#include "frmAbout.h"
#include "mdlModule.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/ModuleCommandLine.h"
#include "shared/Ui.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kx::lvlsmith {

namespace {

const char* const kWelcome = "Welcome to Modding Wizard for Quellfort.  \r\n"
                             "This Wizard will guide you through the Levelmodding Process for a \r\n"
                             "SinglePlayer Level. Please click the button \"Next\" to proceed.\r\n";

// Paragraphs are single lines: the box wraps them at its own width.
const char* const kNotes = "Make sure you use this tool with 1.41. \r\n"
                           "Start the Versionswitcher if necessary.\r\n"
                           "\r\n"
                           "LevelForge leads you through one edit of a level's objects: it keeps a backup of the "
                           "level's data file and rebuilds it from the editor's output.\r\n";

// Multi-line text boxes keep the programs' CR LF texts; Qt breaks lines at LF alone. A step
// text is a file the player may have changed: shown in bounded blocks, so that no line of it
// can hold the window.
void setBoxText(QPlainTextEdit* box, const std::string& text) {
    setShownText(box, toUi(replaceAll(text, CRLF, "\n")));
}

bool holdsLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

QAction* action(QMenu* menu, const char* caption, const char* name) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

// Any button underlines the label while it is down; only the left one clicks.
void MenuLabel::mousePressEvent(QMouseEvent* e) {
    emit mouseDown();
    CommandLabel::mousePressEvent(e);
}

void MenuLabel::mouseReleaseEvent(QMouseEvent* e) {
    emit mouseUp();
    CommandLabel::mouseReleaseEvent(e);
}

// Return, Enter and Space act as a click (the command label's keys); the menu key opens the
// menu too, as it does for any control with a menu.
void MenuLabel::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Menu) {
        if (!e->isAutoRepeat()) emit clicked();
        e->accept();
        return;
    }
    CommandLabel::keyPressEvent(e);
}

void MenuLabel::contextMenuEvent(QContextMenuEvent* e) {
    if (e->reason() == QContextMenuEvent::Keyboard) emit clicked();
    e->accept();
}

frmMain::frmMain(std::string commandLine, QWidget* parent) : QWidget(parent), commandLine_(std::move(commandLine)) {
    setObjectName("frmMain");
    Label1 = named(plainLabel(":: Quellfort - Modding Wizard", this), "Label1");
    Label1->setFont(namedFont("Verdana", 12, true));
    Label2 = named(new MenuLabel("Menu", this), "Label2");
    WizPic = named(new QLabel(this), "WizPic");
    WizPic->setFixedSize(twips(2400), twips(4200));
    WizPic->setAlignment(Qt::AlignCenter);
    WizPic->setPixmap(welcomePicture().scaled(WizPic->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    setWindowIcon(levelAideIcon());
    Description = named(new QPlainTextEdit(this), "Description");
    makeReadingText(Description);
    setBoxText(Description, kWelcome);
    Command1 = named(new QPushButton("&Next", this), "Command1");

    auto* panels = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        Cntrl[size_t(i)] = new QWidget(this);
        Cntrl[size_t(i)]->setObjectName(QString("Cntrl%1").arg(i));
        panels->addWidget(Cntrl[size_t(i)], 0, 0);
    }
    Text1 = named(new QPlainTextEdit(Cntrl[0]), "Text1");
    makeReadingText(Text1);
    setBoxText(Text1, kNotes);
    (new QVBoxLayout(Cntrl[0]))->addWidget(Text1);

    Dir1 = named(new DirListBox(Cntrl[1]), "Dir1");
    (new QVBoxLayout(Cntrl[1]))->addWidget(Dir1);

    Command3 = named(new QPushButton("Start Editmode", Cntrl[2]), "Command3");
    (new QVBoxLayout(Cntrl[2]))->addWidget(Command3);

    Command4 = named(new QPushButton("ReInit binaries #1", Cntrl[3]), "Command4");
    Command2 = named(new QPushButton("ReInit binaries #2", Cntrl[3]), "Command2");
    Command2->setEnabled(false);
    auto* p3 = new QVBoxLayout(Cntrl[3]);
    p3->addWidget(Command4);
    p3->addWidget(Command2);

    Command5 = named(new QPushButton("Write New Objects", Cntrl[4]), "Command5");
    Command7 = named(new QPushButton("Update and Clean Level", Cntrl[4]), "Command7");
    Command7->setEnabled(false);
    auto* p4 = new QVBoxLayout(Cntrl[4]);
    p4->addWidget(Command5);
    p4->addWidget(Command7);

    Option1 = named(new QRadioButton("Start Quellfort", Cntrl[5]), "Option1");
    // The data editor is a choice like the others; "Do it" carries it out.
    Option2 = named(new QRadioButton("Start Doravuzu Data2.Bin editor", Cntrl[5]), "Option2");
    Option3 = named(new QRadioButton("Quit and do nothing.", Cntrl[5]), "Option3");
    Option1->setChecked(true);
    Command6 = named(new QPushButton("Do it", Cntrl[5]), "Command6");
    auto* p5 = new QVBoxLayout(Cntrl[5]);
    for (QWidget* w : {static_cast<QWidget*>(Option1), static_cast<QWidget*>(Option2), static_cast<QWidget*>(Option3),
                       static_cast<QWidget*>(Command6)})
        p5->addWidget(w);

    auto* top = new QHBoxLayout;
    top->addWidget(Label1, 1);
    top->addWidget(Label2);
    auto* right = new QVBoxLayout;
    right->addWidget(Description, 1);
    right->addLayout(panels, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(Command1);
    right->addLayout(bottom);
    auto* middle = new QHBoxLayout;
    middle->addWidget(WizPic);
    middle->addLayout(right, 1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(middle, 1);
    resize(twips(9000), twips(6000));

    mnu = new QMenu("Menu", this);
    mnu->setObjectName("mnu");
    mnuTools = mnu->addMenu("Tools");
    mnuTools->setObjectName("mnuTools");
    mnuToolsLaunchMapmaker = action(mnuTools, "Launch MapMaker", "mnuToolsLaunchMapmaker");
    mnuToolsLaunchSwitcher = action(mnuTools, "Launch VersionSwitcher", "mnuToolsLaunchSwitcher");
    mnu->addSeparator()->setObjectName("mnuStrikeThru1");
    mnuOpenLevelsNfo = action(mnu, "Open Levels.nfo", "mnuOpenLevelsNfo");
    mnuOpenQfDir = action(mnu, "Open QF Dir", "mnuOpenQfDir");
    mnuOpenNotepad = action(mnu, "Open Notepad", "mnuOpenNotepad");
    mnu->addSeparator()->setObjectName("mnuStrikeThru2");
    mnuOpenLogFile = action(mnu, "Open Logfile", "mnuOpenLogFile");
    mnuDeleteLogFile = action(mnu, "Delete Logfile", "mnuDeleteLogFile");
    mnuOpenSelectedLevel = action(mnu, "Open Selected Level", "mnuOpenSelectedLevel");
    mnuOpenSelectedLevel->setEnabled(false);
    mnu->addSeparator()->setObjectName("mnuStrikeThru3");
    mnuHelpManual = action(mnu, "help / manual", "mnuHelpManual");
    mnuElseAbout = action(mnu, "about", "mnuElseAbout");
    mnuElseQuit = action(mnu, "quit", "mnuElseQuit");

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Label2, &MenuLabel::mouseDown, this, [this] { Label2_MouseDown(); });
    connect(Label2, &MenuLabel::mouseUp, this, [this] { Label2_MouseUp(); });
    connect(Label2, &MenuLabel::clicked, this, [this] { Label2_Click(); });
    connect(mnuToolsLaunchMapmaker, &QAction::triggered, this, [this] { mnuToolsLaunchMapmaker_Click(); });
    connect(mnuToolsLaunchSwitcher, &QAction::triggered, this, [this] { mnuToolsLaunchSwitcher_Click(); });
    connect(mnuOpenLevelsNfo, &QAction::triggered, this, [this] { mnuOpenLevelsNfo_Click(); });
    connect(mnuOpenQfDir, &QAction::triggered, this, [this] { mnuOpenQfDir_Click(); });
    connect(mnuOpenNotepad, &QAction::triggered, this, [this] { mnuOpenNotepad_Click(); });
    connect(mnuOpenLogFile, &QAction::triggered, this, [this] { mnuOpenLogFile_Click(); });
    connect(mnuDeleteLogFile, &QAction::triggered, this, [this] { mnuDeleteLogFile_Click(); });
    connect(mnuOpenSelectedLevel, &QAction::triggered, this, [this] { mnuOpenSelectedLevel_Click(); });
    connect(mnuHelpManual, &QAction::triggered, this, [this] { mnuHelpManual_Click(); });
    connect(mnuElseAbout, &QAction::triggered, this, [this] { mnuElseAbout_Click(); });
    connect(mnuElseQuit, &QAction::triggered, this, [this] { mnuElseQuit_Click(); });
    // Tab goes from the menu through the step's text and panel to Next.
    QWidget* order[] = {Label2, Description, Text1, Dir1, Command3, Command4, Command2, Command5,
                        Command7, Option1, Option2, Option3, Command6, Command1};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    ShowStepPanel();
}

frmMain::~frmMain() = default;

bool frmMain::Form_Load() {
    const auto dir = checkModuleCommandLine(commandLine_);
    if (!dir) return false;
    KorvexDir = *dir;
    // A missing logs folder drops the lines; the assistant goes on.
    log_ = std::make_unique<LogFile>(joinPath(KorvexDir, "korvex.wfd/logs/plg_lvlsmith.log"));
    try {
        Dir1->setPath(platform().currentDir());
    } catch (const RunError&) {
        Dir1->setPath(KorvexDir);
    }
    return true;
}

// The first-start flag is a side effect: a settings store that cannot be read or written is
// reported on the assistant's own error path, and the start goes on.
void frmMain::firstStart() {
    std::string seen;
    try {
        seen = platform().getSetting(kTitle, "configuration", "firsttime");
    } catch (const RunError& e) {
        ShowErrorBox(std::string("The setting firsttime of ") + kTitle + " could not be read: " + e.description(),
                     e.number());
        return;
    }
    if (seen == "YES") return;
    platform().msgBox("Welcome,\r\nThis is the first time that you start LvlSmith.\r\n"
                      "Click okay to launch the manual for a quick introduction\r\n"
                      "on how to use the application and a step-by-step modding procedure.\r\n\r\n"
                      "You can view this manual anytime by selecting it in the tool-menu.",
                      0, "welcome.");
    OpenManual(ManualPath);
    try {
        platform().saveSetting(kTitle, "configuration", "firsttime", "YES");
    } catch (const RunError& e) {
        ShowErrorBox(std::string("The setting firsttime of ") + kTitle + " could not be saved: " + e.description(),
                     e.number());
    }
}

int frmMain::OpenManual(std::string& path) {
    ManualPath = resolvePath(KorvexDir, "Korvex.wfd/helpfiles/levelaide/levelaide.htm");
    const int result = platform().shellOpen(localFileUrl(path));
    if (result <= 32) {
        // The desktop opened nothing: say so, with the reason when the file itself is the cause.
        RunError why(err::PathFileAccess);
        try {
            requireRegularFile(path);
        } catch (const RunError& e) {
            why = e;
        }
        ShowErrorBox("The manual " + path + " could not be opened: " + why.description(), why.number());
    }
    return result;
}

std::string frmMain::StepNumberText() const { return numTextTrimmed(CurrentStep); }

void frmMain::ShowStepPanel() {
    for (QWidget* p : Cntrl) p->setVisible(false);
    if (CurrentStep >= 0 && CurrentStep < 6) Cntrl[size_t(CurrentStep)]->setVisible(true);
}

std::string frmMain::logPath() const { return log_ ? resolvePath(log_->path()) : std::string(); }

void frmMain::WriteLog(const std::string& text) {
    if (log_) log_->write(text);
}

void frmMain::LogSeparator() { WriteLog("> ==========================================="); }

// A text ending in CR LF leaves an empty line after it: written as that empty line, since the
// log writer keeps every value on its one line.
void frmMain::LogSeparatorBlank() {
    LogSeparator();
    WriteLog("");
}

std::string frmMain::levelFile(const std::string& name) const { return resolvePath(levelFolder(), name); }

void frmMain::lockNext() {
    WriteLog("> Locking Next button.");
    WriteLog(">> enabled after useraction");
    Command1->setEnabled(false);
}

void frmMain::loadStepPicture() {
    const std::string path =
        resolvePath(KorvexDir, "Korvex.wfd/PlugIns/levelaide/Wizard/Wizpic" + StepNumberText() + ".jpg");
    try {
        QPixmap pic;
        const std::string bytes = readFile(path);
        if (!pic.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), uint(bytes.size())))
            throw RunError(err::InvalidPicture);
        WizPic->setPixmap(pic.scaled(WizPic->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } catch (const RunError& e) {
        // The step goes on without its picture.
        WizPic->clear();
        ShowErrorBox("The step picture " + path + " could not be loaded: " + e.description(), e.number());
    }
}

void frmMain::loadStepText() {
    const std::string path = resolvePath(KorvexDir, "Korvex.wfd/PlugIns/levelaide/Steps/Step" + StepNumberText() + ".txt");
    Description->clear();
    try {
        setBoxText(Description, loadText(path));
    } catch (const RunError& e) {
        ShowErrorBox("The step text " + path + " could not be loaded: " + e.description(), e.number());
    }
}

// Step 2 could not start: the folder step again, as it was before step 2 (no level to open),
// with the folder list read anew, since the folder may have gone meanwhile.
void frmMain::backToFolderStep() {
    mnuOpenSelectedLevel->setEnabled(false);
    DecrementStep();
    loadStepPicture();
    loadStepText();
    ShowStepPanel();
    std::string folder = Dir1->path();
    while (!folder.empty() && folder != "/" && !dirExists(folder)) folder = parentDir(folder);
    try {
        if (folder == Dir1->path())
            Dir1->refresh();
        else
            Dir1->setPath(folder.empty() ? KorvexDir : folder);
    } catch (const RunError& e) {
        ShowErrorBox(e.description(), e.number());
    }
}

// Before a file the player may still need is replaced by other bytes, the old one is kept
// beside it under a stamped name, and the log says so. Raises when it cannot be kept: the
// caller then replaces nothing.
void frmMain::keepBeforeReplace(const std::string& path, const std::string& newBytes) {
    const std::string kept = keepCopyBeforeReplace(path, newBytes, timeStamp(platform().now(), "yyyy-MM-dd_HH-mm-ss"));
    if (!kept.empty()) WriteLog(">> Kept the earlier " + fileNameOf(path) + " as " + kept);
}

void frmMain::writeLogHeader() {
    WriteLog("");
    WriteLog(std::string(46, '*'));
    WriteLog("  Quellfort - Modding Wizard. LvlSmith ");
    WriteLog(std::string(46, '='));
    WriteLog("Started at: " + MakeDateStamp());
    WriteLog("");
    WriteLog("==Beginning new Log===========================");
    WriteLog("");
}

void frmMain::Command1_Click() {
    mnuDeleteLogFile->setEnabled(false);
    IncrementStep();
    if (CurrentStep == 6) DecrementStep();
    loadStepPicture();
    loadStepText();
    ShowStepPanel();
    switch (CurrentStep) {
    case 1:
        writeLogHeader();
        break;
    case 2: {
        const std::string level = levelFolder();
        LogSeparator();
        WriteLog("> User selected level. Levelpath is:");
        WriteLog("> " + level);
        if (holdsLineBreak(level)) {
            // The job file names the folder on a line of its own; a line break there would
            // make the rest of the name a command of the job.
            WriteLog(">> The level folder's name holds a line break: it cannot be the level of a job file.");
            ShowErrorBox("The level folder " + level + " holds a line break in its name and cannot be the level of "
                                                       "the job file QfsBatch.bat. Rename the folder.",
                         err::BadFileName);
            backToFolderStep();
            return;
        }
        WriteLog("> Unlocking Menuentry 'Open selected Level'");
        mnuOpenSelectedLevel->setEnabled(true);
        WriteLog("> Locking Menuentry 'Delete Logfile'");
        mnuDeleteLogFile->setEnabled(false);
        WriteLog("> Backing up data binary.");
        const std::string backup = levelFile("data1.qfs");
        try {
            // A data1.qfs left by an abandoned run may be the level's only original: kept first.
            const std::string bytes = readFile(levelFile("data1.bin"));
            keepBeforeReplace(backup, bytes);
            writeWorkFile(backup, bytes);
        } catch (const RunError& e) {
            // Without the work copy nothing can be rebuilt: back to the folder step.
            WriteLog(">> Backup failed: " + e.description() + "(" + IntToText(std::int16_t(e.number())) + ")");
            ShowErrorBox("The level's data file " + levelFile("data1.bin") + " could not be backed up: " +
                             e.description(),
                         e.number());
            WriteLog("> Locking Menuentry 'Open selected Level'");
            backToFolderStep();
            return;
        }
        WriteLog("> Backed up as:");
        WriteLog("> " + backup);
        CheckWorldDat(level);
        LogSeparatorBlank();
        lockNext();
        WriteLog("> Userdependency: EDITMODE.");
        WriteLog("> Waiting for User to start Subroutine");
        LogSeparatorBlank();
        break;
    }
    case 3:
        lockNext();
        WriteLog("> Userdependency: REINIT #1.");
        WriteLog("> Waiting for User to start Subroutine");
        break;
    case 4:
        lockNext();
        WriteLog("> Userdependency: WRITENEWOBJECTS.");
        WriteLog("> Waiting for User to start Subroutine");
        LogSeparatorBlank();
        break;
    case 5:
        WriteLog("> Locking Next button.");
        WriteLog(">> final step. unlock disabled");
        Command1->setEnabled(false);
        WriteLog("> Userdependency: FINALACTION.");
        WriteLog("> Waiting for User to start Subroutine");
        LogSeparatorBlank();
        break;
    default:
        break;
    }
}

void frmMain::Command3_Click() {
    RunEditMode();
    LogSeparatorBlank();
    Command1->setEnabled(true);
}

void frmMain::Command4_Click() {
    RunEditMode();
    LogSeparatorBlank();
    WriteLog("> Unlocking 'REINIT #2 Button");
    Command2->setEnabled(true);
    WriteLog("> Userdependency: REINIT #2.");
    WriteLog("> Waiting for User to start Subroutine");
    LogSeparatorBlank();
}

void frmMain::Command2_Click() {
    try {
        removeFile(levelFile("world.dat"));
    } catch (const RunError&) {
    }
    RunEditMode();
    LogSeparatorBlank();
    Command1->setEnabled(true);
}

void frmMain::Command5_Click() {
    const std::string level = levelFolder();
    const std::string bak = levelFile("data1.bak");
    try {
        const std::string bytes = readFile(levelFile("data1.qfs"));
        keepBeforeReplace(bak, bytes);
        writeFileAtomic(bak, bytes);
    } catch (const RunError& e) {
        ShowErrorBox("The work file " + levelFile("data1.qfs") + " could not be backed up: " + e.description(),
                     e.number());
        return;
    }
    WriteLog("> Backing up work file. Backed up as");
    WriteLog("> " + bak + ".");
    WriteLog("> Writing Jobfile to");
    WriteLog("> " + level);
    try {
        writeWorkLines(levelFile("QfsBatch.bat"), jobFileLines(level));
    } catch (const RunError& e) {
        WriteLog(">> Writing failed: " + e.description() + "(" + IntToText(std::int16_t(e.number())) + ")");
        ShowErrorBox("The job file " + levelFile("QfsBatch.bat") + " could not be written: " + e.description(),
                     e.number());
        return;
    }
    WriteLog(">> Written successfully.");
    WriteLog("> Executing Jobfile...");
    try {
        joinDataFiles(level);
    } catch (const RunError& e) {
        WriteLog(">> Execution failed.");
        WriteLog(">>> " + e.description() + "(" + IntToText(std::int16_t(e.number())) + ")");
        ShowErrorBox("data1.qfs and data1.bin could not be joined into " + levelFile("data1.new") + ": " +
                         e.description(),
                     e.number());
        return;
    }
    WriteLog(">> Execution successful.");
    platform().sleepMs(25);
    WriteLog("> Unlocking 'Update and Clean Level' button");
    Command7->setEnabled(true);
    WriteLog("> Userdependency: CLEANANDUPDATE.");
    WriteLog("> Waiting for User to start Subroutine");
    LogSeparatorBlank();
}

void frmMain::Command7_Click() {
    const std::string level = levelFolder();
    const std::string qfs = levelFile("data1.qfs"), bin = levelFile("data1.bin"), joined = levelFile("data1.new"),
                      bak = levelFile("data1.bak");
    // Nothing is replaced or deleted unless the joined file and the backup are there in full.
    try {
        for (const std::string& f : {qfs, bin, joined, bak})
            if (!fileExists(f)) throw RunError(err::FileNotFound, "File not found: " + f);
        if (fileLength(joined) != fileLength(qfs) + fileLength(bin))
            throw RunError(err::PathFileAccess, joined + " does not hold data1.qfs and data1.bin in full");
        if (fileLength(bak) != fileLength(qfs))
            throw RunError(err::PathFileAccess, bak + " does not hold data1.qfs in full");
    } catch (const RunError& e) {
        // "Write New Objects" joins data1.qfs and data1.bin: worth pressing again only while
        // both are there (after an update data1.qfs is gone).
        const bool rejoin = fileExists(qfs) && fileExists(bin);
        WriteLog(">> Updating level failed: " + e.description() + "(" + IntToText(std::int16_t(e.number())) + ")");
        ShowErrorBox(e.description() + (rejoin ? ". Click 'Write New Objects' again." : "."), e.number());
        return;
    }
    // The rename replaces the editor's data1.bin with the joined file in one step; the work
    // files go only once it has succeeded. Each line is logged once its step has happened.
    try {
        replaceFileWith(joined, bin);
    } catch (const RunError& e) {
        WriteLog(">> Updating level failed: " + e.description() + "(" + IntToText(std::int16_t(e.number())) + ")");
        ShowErrorBox(joined + " could not replace " + bin + ": " + e.description(), e.number());
        return;
    }
    WriteLog("> Deleting qf-created binary...");
    WriteLog("> Updating level with recreated binary");
    // A work file already gone is passed over; any other failure is logged and passed over.
    const auto removeWorkFile = [this](const std::string& path, const char* line) {
        try {
            removeFile(path);
        } catch (const RunError& e) {
            if (e.number() != err::FileNotFound)
                WriteLog(">> " + path + " could not be deleted: " + e.description() + "(" +
                         IntToText(std::int16_t(e.number())) + ")");
            return;
        }
        WriteLog(line);
    };
    removeWorkFile(levelFile("qfsbatch.bat"), "> Deleting Jobfile...");
    removeWorkFile(qfs, "> Deleting workfile...");
    WriteLog("> Unlocking Next button");
    Command1->setEnabled(true);
    LogSeparatorBlank();
    ShowInfoBox(std::string("Your old data1 binary has been backed up as:") + CRLF + joinPath(level, "data1.bak"));
}

void frmMain::Command6_Click() {
    try {
        if (Option1->isChecked()) {
            WriteLog("> User Action: Run Quellfort");
            WriteLog(">> Initiating.");
            RunGame();
            LogSeparatorBlank();
        }
        if (Option2->isChecked()) {
            WriteLog("> User Action: Execute Data2.bin editor");
            platform().startProcess(resolvePath(KorvexDir, "data2edit.exe"), {}, "", win::NormalFocus);
            WriteLog(">> Excuted.");
            LogSeparatorBlank();
        }
        if (Option3->isChecked()) {
            WriteLog("> User Action: Terminate Program");
            WriteLog(">> Initiating.");
            LogSeparatorBlank();
            WriteLog("bye.");
            platform().endProgram(0);
        }
    } catch (const RunError& e) {
        ShowErrorBox(e.description(), e.number());
    }
}

void frmMain::startGame(const char* firstLine, const std::vector<std::string>& args) {
    WriteLog(firstLine);
    try {
        platform().startProcess(resolvePath(KorvexDir, "Game.exe"), args, "", win::NormalFocus);
    } catch (const RunError& e) {
        WriteLog(">> Execution failed.");
        WriteLog(">>> " + e.description() + "(" + IntToText(std::int16_t(e.number())) + ")");
        WriteLog(">>> ABNORMAL PROGRAM PROCESS. PROGRAM HALTED.");
        ShowErrorBox(std::string("an important internal operation failed. can not proceed.") + CRLF +
                         "Prgram halted. Click OK to exit" + CRLF + e.description(),
                     e.number());
        platform().endProgram(0);
    }
    WriteLog(">> Execution succeeded.");
    WriteLog("");
}

// The game gets one argument per option and the level folder as one, verbatim.
void frmMain::RunEditMode() { startGame(">> Subroutine called Editmode for Quellfort.", {"+edit", levelFolder(), "NullString", "0"}); }

void frmMain::RunGame() { startGame(">> Subroutine called Quellfort.", {}); }

void frmMain::CheckWorldDat(const std::string& levelFolder) {
    WriteLog(">> Step" + IntToText(std::int16_t(CurrentStep - 1)) + " called CheckWorldDat()");
    const std::string world = resolvePath(levelFolder, "world.dat");
    try {
        readFile(world);
    } catch (const RunError&) {
        WriteLog(">> World.dat was not found. Proceeding.");
        return;
    }
    WriteLog(">> World.dat was found.");
    const int answer = platform().msgBox("World.dat is allready placed in this level.\r\n"
                                         "This Assistant is not able to restore lost Data1 data.\r\n"
                                         "To proceed editing you must delete World.dat.\r\n"
                                         "Click OK to do so, or click CANCEL to Quit the program.",
                                         49, "error.");
    if (answer == box::Ok) {
        try {
            removeFile(world);
        } catch (const RunError& e) {
            WriteLog(">> World.dat was not removed.");
            ShowErrorBox(world + " could not be removed: " + e.description(), e.number());
            return;
        }
        WriteLog(">> World.dat was removed.");
        return;
    }
    WriteLog(">> World.dat was not removed.");
    WriteLog(">>> ABNORMAL PROGRAM PROCESS. PROGRAM HALTED.");
    platform().endProgram(0);
}

void frmMain::Label2_MouseDown() {
    QFont f = Label2->font();
    f.setUnderline(true);
    Label2->setFont(f);
}

void frmMain::Label2_MouseUp() {
    QFont f = Label2->font();
    f.setUnderline(false);
    Label2->setFont(f);
}

// A click opens the menu where the mouse is; from the keyboard it opens below the label.
void frmMain::Label2_Click() {
    if (mnu->isVisible()) return;
    const QPoint cursor = QCursor::pos();
    mnu->popup(Label2->rect().contains(Label2->mapFromGlobal(cursor)) ? cursor
                                                                        : Label2->mapToGlobal(Label2->rect().bottomLeft()));
}

template <typename F>
void frmMain::guarded(F&& f) {
    try {
        f();
    } catch (const RunError& e) {
        ShowErrorBox(e.description(), e.number());
    }
}

void frmMain::startTool(const std::string& program) {
    guarded([&] { platform().startProcess(resolvePath(KorvexDir, program), {}, "", win::NormalFocus); });
}

void frmMain::mnuToolsLaunchMapmaker_Click() { startTool("mapmaker.exe"); }
void frmMain::mnuToolsLaunchSwitcher_Click() { startTool("qfvs.exe"); }
void frmMain::mnuOpenLevelsNfo_Click() {
    guarded([&] { platform().openInEditor(resolvePath(KorvexDir, "levels.nfo")); });
}
void frmMain::mnuOpenQfDir_Click() {
    guarded([&] { platform().openFolder(KorvexDir); });
}
void frmMain::mnuOpenNotepad_Click() {
    guarded([&] { platform().openInEditor(""); });
}
void frmMain::mnuOpenLogFile_Click() {
    guarded([&] { platform().openInEditor(logPath()); });
}
void frmMain::mnuDeleteLogFile_Click() {
    try {
        removeFile(logPath());
    } catch (const RunError&) {
    }
}
void frmMain::mnuOpenSelectedLevel_Click() {
    guarded([&] { platform().openFolder(levelFolder()); });
}
void frmMain::mnuHelpManual_Click() {
    guarded([&] { OpenManual(ManualPath); });
}
void frmMain::mnuElseAbout_Click() {
    if (!about_) {
        about_ = new frmAbout(this);
        about_->setAttribute(Qt::WA_DeleteOnClose);
        connect(about_, &QObject::destroyed, this, [this] { about_ = nullptr; });
        about_->Form_Load();
    }
    about_->show();
    about_->raise();
}
void frmMain::mnuElseQuit_Click() { platform().endProgram(0); }

} // namespace kx::lvlsmith
