#include "frmMain.h"

#include "frmAbout.h"
#include "frmSaveTo.h"
#include "frmScripts.h"
#include "ScriptEdit.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/Boxes.h"
#include "shared/KorvexConfig.h"
#include "shared/Launch.h"
#include "shared/ModuleCommandLine.h"
#include "shared/PlugInScript.h"
#include "shared/ServerSetNames.h"
#include "shared/SkinFolders.h"
#include "shared/Ui.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTextCursor>
#include <QTextDocument>

#include <chrono>
#include <future>

namespace kx::quillroom {

namespace {
const QColor Green(0, 128, 0);
const QColor Black(0, 0, 0);

QAction* item(QMenu* menu, const char* name, const char* caption) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(name);
    return a;
}

QAction* separator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(name);
    return a;
}

QMenu* submenu(QMenu* menu, const char* name, const QString& caption) {
    QMenu* m = menu->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    return m;
}
} // namespace

frmMain::frmMain(const std::string& korvexDir, QWidget* parent) : QMainWindow(parent), korvexDir_(korvexDir) {
    setObjectName("frmMain");
    setWindowTitle(toUi(AppTitle));

    auto* area = new QWidget(this);
    setCentralWidget(area);
    ScriptText = named(new ScriptEdit(area), "ScriptText");
    ScriptText->setFont(namedFont("Lucida Console", 10));
    ScriptText->setLineWrapMode(QPlainTextEdit::NoWrap);
    ScriptText->hide();

    mnuFile = named(menuBar()->addMenu("File"), "mnuFile");
    mnuFileLoad = submenu(mnuFile, "mnuFileLoad", "Load Script");
    mnuFileLoadPlugIn = submenu(mnuFileLoad, "mnuFileLoadPlugIn", "Korvex3 PlugIn");
    mnuFileLoadServerSet = submenu(mnuFileLoad, "mnuFileLoadServerSet", "ZIV ServerSet");
    mnuFileLoadCurrentSkin = submenu(mnuFileLoad, "mnuFileLoadCurrentSkin", "Current Skin '");
    mnuFileLoadCurrentSkinInformation =
        item(mnuFileLoadCurrentSkin, "mnuFileLoadCurrentSkinInformation", "Skin Information");
    mnuFileLoadCurrentSkinDefinition =
        item(mnuFileLoadCurrentSkin, "mnuFileLoadCurrentSkinDefinition", "Skin Definition");
    mnuFileLoadAutoexec = item(mnuFileLoad, "mnuFileLoadAutoexec", "Autoexecution File");
    mnuFileLoadBrowseThis = item(mnuFileLoad, "mnuFileLoadBrowseThis", "BrowseThis File");
    mnuFileLoadServerList = item(mnuFileLoad, "mnuFileLoadServerList", "ServerList File");
    mnuFileLoadFunctions = item(mnuFileLoad, "mnuFileLoadFunctions", "Functions File");
    mnuCreateNew = item(mnuFile, "mnuCreateNew", "Create New Script");
    mnuFileLine1 = separator(mnuFile, "mnuFileLine1");
    mnuFileSaveCurrent = item(mnuFile, "mnuFileSaveCurrent", "Save Current Script");
    mnuFileCloseCurrent = item(mnuFile, "mnuFileCloseCurrent", "Close Current Script");
    mnuFileLine2 = separator(mnuFile, "mnuFileLine2");
    mnuFileQuit = item(mnuFile, "mnuFileQuit", "Quit");
    mnuHelp = named(menuBar()->addMenu("?"), "mnuHelp");
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", "About");
    mnuHelpLine1 = separator(mnuHelp, "mnuHelpLine1");
    mnuHelpScripting = item(mnuHelp, "mnuHelpScripting", "Korvex Help - Scripting");

    connect(mnuFileLoadCurrentSkinInformation, &QAction::triggered, this,
            [this] { mnuFileLoadCurrentSkinInformation_Click(); });
    connect(mnuFileLoadCurrentSkinDefinition, &QAction::triggered, this,
            [this] { mnuFileLoadCurrentSkinDefinition_Click(); });
    connect(mnuFileLoadAutoexec, &QAction::triggered, this, [this] { mnuFileLoadAutoexec_Click(); });
    connect(mnuFileLoadBrowseThis, &QAction::triggered, this, [this] { mnuFileLoadBrowseThis_Click(); });
    connect(mnuFileLoadServerList, &QAction::triggered, this, [this] { mnuFileLoadServerList_Click(); });
    connect(mnuFileLoadFunctions, &QAction::triggered, this, [this] { mnuFileLoadFunctions_Click(); });
    connect(mnuCreateNew, &QAction::triggered, this, [this] { mnuCreateNew_Click(); });
    connect(mnuFileSaveCurrent, &QAction::triggered, this, [this] { mnuFileSaveCurrent_Click(); });
    connect(mnuFileCloseCurrent, &QAction::triggered, this, [this] { mnuFileCloseCurrent_Click(); });
    connect(mnuFileQuit, &QAction::triggered, this, [this] { mnuFileQuit_Click(); });
    connect(mnuHelpAbout, &QAction::triggered, this, [this] { mnuHelpAbout_Click(); });
    connect(mnuHelpScripting, &QAction::triggered, this, [this] { mnuHelpScripting_Click(); });

    resize(twips(9600), twips(7200));
    // Main, after the window is loaded.
    ArrangeEditor();
    ListPlugIns();
    ListServerSets();
    ReadConfigValues();
    mnuFileLoadCurrentSkin->setTitle(mnuFileLoadCurrentSkin->title() + menuText(skinName_) + "'");
    scripts_ = new frmScripts(*this);
    SetEditState(1);
}

frmScripts* frmMain::scripts() const { return scripts_; }
frmSaveTo* frmMain::saveTo() const { return saveTo_; }
frmAbout* frmMain::about() const { return about_; }

frmMain* startModule(const std::string& commandLine) {
    const auto dir = checkModuleCommandLine(commandLine);
    if (!dir) platform().endProgram(0);
    auto* w = new frmMain(*dir);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    return w;
}

// --- start-up ----------------------------------------------------------------------------------

void frmMain::fileArray(QMenu* menu, std::vector<QAction*>& items, const char* name, const std::string& folder,
                        const std::string& pattern, bool (*usable)(const std::string&), const char* emptyCaption,
                        void (frmMain::*handler)(int)) {
    std::vector<std::string> files;
    try {
        // Only the names the kind's shared rule takes: what is listed opens.
        for (auto& f : listFiles(resolvePath(korvexDir_, folder), pattern))
            if (usable(f)) files.push_back(std::move(f));
    } catch (const RunError&) {
        // An unreadable folder lists like an empty one.
    }
    if (files.empty()) {
        QAction* a = item(menu, name, emptyCaption);
        a->setEnabled(false);
        items.push_back(a);
        return;
    }
    for (const auto& f : files) {
        const int index = static_cast<int>(items.size());
        QAction* a = menu->addAction(menuText(menuCaption(f)));
        a->setObjectName(name);
        // The item opens the file it was made from, whatever dots its name holds.
        a->setData(QByteArray::fromStdString(f));
        connect(a, &QAction::triggered, this, [this, handler, index] { (this->*handler)(index); });
        items.push_back(a);
    }
}

void frmMain::ListPlugIns() {
    fileArray(mnuFileLoadPlugIn, mnuToolsPlugIn, "mnuToolsPlugIn", "korvex.wfd/plugins", "*.spi", isUsablePlugInName,
              "no PlugIn available", &frmMain::mnuToolsPlugIn_Click);
}

void frmMain::ListServerSets() {
    fileArray(mnuFileLoadServerSet, mnuFileLoadServerSetFile, "mnuFileLoadServerSetFile",
              "korvex.wfd/config/serversets", "*.ini",
              [](const std::string& name) { return isUsableServerSetName(name, false); }, "no serverset available",
              &frmMain::mnuFileLoadServerSetFile_Click);
}

void frmMain::ReadConfigValues() {
    try {
        const auto values = readConfig(korvexDir_, keyRule(10), {cfgkey::PlayerName, cfgkey::UsedSkin});
        if (auto it = values.find(cfgkey::PlayerName); it != values.end()) playerName_ = it->second;
        if (auto it = values.find(cfgkey::UsedSkin); it != values.end()) skinName_ = it->second;
    } catch (const RunError&) {
        // No korvex.cfg (or none readable): both values stay empty and the editor still works.
    }
}

// --- layout and state ----------------------------------------------------------------------------

void frmMain::ArrangeEditor() {
    if (!ScriptText) return;
    const QSize outer = frameGeometry().size();
    ScriptText->move(twips(-10), ScriptText->y());
    ScriptText->move(ScriptText->x(), twips(-10));
    // A size that would be negative in a very small window is skipped.
    const int w = outer.width() - twips(90);
    if (w >= 0) ScriptText->resize(w, ScriptText->height());
    const int h = outer.height() - twips(760);
    if (h >= 0) ScriptText->resize(ScriptText->width(), h);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    ArrangeEditor();
}

void frmMain::SetEditState(int state) {
    if (state != 0 && state != 1) return;
    const bool idle = state == 1;
    mnuFileLoad->menuAction()->setEnabled(idle);
    mnuCreateNew->setEnabled(idle);
    mnuFileQuit->setEnabled(idle);
    mnuFileSaveCurrent->setEnabled(!idle);
    mnuFileCloseCurrent->setEnabled(!idle);
    // A chooser left open must not replace the script now being edited.
    if (!idle && scripts_) scripts_->hide();
}

// --- loading -------------------------------------------------------------------------------------

std::vector<std::string> readScriptFile(const std::string& path, const Placeholders& codes, OtherCodes other) {
    return fillPlaceholders(readLines(path), codes, other);
}

bool LoadScriptText(ScriptEdit& editor, const std::vector<std::string>& lines, int append,
                    const std::function<bool()>& serve) {
    if (append == 0) editor.clear();
    QTextCharFormat plain;
    plain.setForeground(Black);
    return editor.appendLines(lines, plain, serve);
}

Placeholders frmMain::codes() const {
    // Before the first choice in the chooser "%1" inserts nothing.
    const std::string title = isKind(kind_) ? scriptKinds()[static_cast<size_t>(kind_)].title : "";
    return {title, playerName_, timeAndDateText(platform().now())};
}

void frmMain::beginLoad() {
    loading_ = true;
    closedWhileLoading_ = false;
    // Nothing may load, save or close the script while it comes in; the menus say so.
    heldMenus_.clear();
    for (QAction* a : {mnuFileLoad->menuAction(), mnuCreateNew, mnuFileSaveCurrent, mnuFileCloseCurrent, mnuFileQuit}) {
        heldMenus_.emplace_back(a, a->isEnabled());
        a->setEnabled(false);
    }
    if (scripts_) scripts_->hide();
    ScriptText->setReadOnly(true);
    ScriptText->document()->setUndoRedoEnabled(false);
}

bool frmMain::endLoad() {
    loading_ = false;
    for (auto& [a, enabled] : heldMenus_) a->setEnabled(enabled);
    ScriptText->setReadOnly(false);
    // Undo begins with the user's first change: it cannot take the loaded text away.
    ScriptText->document()->setUndoRedoEnabled(true);
    if (!closedWhileLoading_) return true;
    ScriptText->hide();
    ScriptText->clear();
    scriptPath_.reset();
    newScript_ = false;
    SetEditState(1);
    if (deleteAfterLoad_) deleteLater();
    return false;
}

bool frmMain::load(const std::vector<std::string>& lines, int append) {
    return LoadScriptText(*ScriptText, lines, append, [this] {
        QCoreApplication::processEvents();
        return !closedWhileLoading_;
    });
}

void frmMain::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (!loading_) return;
    // The load below this event stops at its next slice; the window is deleted after that.
    closedWhileLoading_ = true;
    if (testAttribute(Qt::WA_DeleteOnClose)) {
        setAttribute(Qt::WA_DeleteOnClose, false);
        deleteAfterLoad_ = true;
    }
}

void frmMain::scriptReplaced() {
    // The save dialog belongs to the script it was opened for.
    if (saveTo_) saveTo_->close();
}

std::optional<std::vector<std::string>> frmMain::readServing(const std::string& path, const Placeholders& fill,
                                                             OtherCodes other) {
    // A worker reads while the window serves its events, so that a file of any size leaves it
    // responsive. A window closed meanwhile waits, unseen, for the read to end.
    auto job = std::async(std::launch::async, [path, fill, other] { return readScriptFile(path, fill, other); });
    while (job.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready) QCoreApplication::processEvents();
    auto lines = job.get();
    if (closedWhileLoading_) return std::nullopt;
    return lines;
}

void frmMain::openScriptFile(const std::string& relativePath) {
    if (loading_) return;
    beginLoad();
    std::optional<std::string> recorded;
    bool loaded = false;
    try {
        const std::string full = resolvePath(korvexDir_, relativePath);
        // The three codes are filled in every load; a line with another code stays whole.
        const auto lines = readServing(full, codes(), OtherCodes::Keep);
        recorded = FindScriptPath(korvexDir_, full);
        if (lines && !recorded) throw RunError(err::BadFileName);
        if (lines) {
            scriptReplaced();
            loaded = load(*lines, 0);
        }
    } catch (const RunError& e) {
        if (endLoad()) showError(e);
        return;
    }
    if (!endLoad() || !loaded) return;
    ScriptText->setTextCursor(QTextCursor(ScriptText->document()));
    scriptPath_ = recorded;
    newScript_ = false;
    setWindowTitle(toUi(AppTitle + EditingSuffix));
    SetEditState(0);
    ScriptText->show();
}

bool frmMain::NewScriptFromTemplate(int kind) {
    if (loading_) return false;
    const int k = isKind(kind) ? kind : kind_;
    if (!isKind(k)) {
        showError(RunError(err::InvalidCall));
        return false;
    }
    const ScriptKind& sk = scriptKinds()[static_cast<size_t>(k)];
    // All three files are read before the editor is touched.
    beginLoad();
    std::optional<std::vector<std::string>> parts[3];
    std::string bodyPath;
    try {
        const std::string folder = resolvePath(korvexDir_, TemplateFolder);
        const Placeholders fill{sk.title, playerName_, timeAndDateText(platform().now())};
        bodyPath = resolvePath(folder, sk.templateFile);
        const std::string paths[3] = {resolvePath(folder, "header/" + CommonHeader),
                                      resolvePath(folder, std::string("header/") + sk.headerFile), bodyPath};
        for (int i = 0; i < 3; ++i)
            if (!(parts[i] = readServing(paths[i], fill, OtherCodes::Drop))) break;
    } catch (const RunError& e) {
        // Nothing is shown of a template that could not be read whole.
        if (endLoad()) showError(e);
        return false;
    }
    bool loaded = parts[2].has_value();
    if (loaded) {
        kind_ = k;
        scriptReplaced();
        loaded = load(*parts[0], 0) && load(*parts[1], -1);
        if (loaded) ColourScriptText(0);
        loaded = loaded && load(*parts[2], -1);
        if (loaded) ColourScriptText(1);
    }
    if (!endLoad() || !loaded) return false;
    scriptPath_ = FindScriptPath(korvexDir_, bodyPath);
    newScript_ = true;
    setWindowTitle(toUi(AppTitle + EditingSuffix));
    ScriptText->show();
    return true;
}

void frmMain::ColourScriptText(int mode) {
    QTextDocument* doc = ScriptText->document();
    QTextCursor c(doc);
    QTextCharFormat f;
    if (mode == 0) {
        c.select(QTextCursor::Document);
        f.setForeground(Green);
        c.mergeCharFormat(f);
        headerLength_ = c.selectionEnd();
    } else if (mode == 1) {
        c.movePosition(QTextCursor::End);
        c.setPosition(std::min(headerLength_, c.position()), QTextCursor::MoveAnchor);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        f.setForeground(Black);
        c.mergeCharFormat(f);
    }
    QTextCursor caret(doc);
    caret.setPosition(0);
    ScriptText->setTextCursor(caret);
    QTextCharFormat typing = ScriptText->currentCharFormat();
    typing.setForeground(Black);
    ScriptText->setCurrentCharFormat(typing);
}

std::vector<std::string> frmMain::scriptFileLines() const { return scriptLines(ScriptText->scriptText()); }

// --- menu handlers -------------------------------------------------------------------------------

void frmMain::openArrayItem(const std::vector<QAction*>& items, int index, const std::string& folder) {
    if (index < 0 || index >= static_cast<int>(items.size())) return;
    const std::string file = items[static_cast<size_t>(index)]->data().toByteArray().toStdString();
    if (file.empty()) return; // the "none available" item
    openScriptFile(folder + "/" + file);
}

void frmMain::mnuToolsPlugIn_Click(int index) { openArrayItem(mnuToolsPlugIn, index, "korvex.wfd/plugins"); }

void frmMain::mnuFileLoadServerSetFile_Click(int index) {
    openArrayItem(mnuFileLoadServerSetFile, index, "korvex.wfd/config/serversets");
}

void frmMain::openSkinFile(const std::string& file) {
    // The skin name comes from korvex.cfg: it must name one folder of the skins folder, by the
    // rule the skin chooser lists and the launcher applies skins with.
    if (!isUsableSkinName(skinName_)) {
        showError(RunError(err::BadFileName));
        return;
    }
    openScriptFile("korvex.wfd/skins/" + skinName_ + "/" + file);
}

void frmMain::mnuFileLoadCurrentSkinInformation_Click() { openSkinFile("skininfo.ini"); }
void frmMain::mnuFileLoadCurrentSkinDefinition_Click() { openSkinFile("skindefinition.ini"); }
void frmMain::mnuFileLoadAutoexec_Click() { openScriptFile("korvex.wfd/config/autoexec.ini"); }
void frmMain::mnuFileLoadBrowseThis_Click() { openScriptFile("korvex.wfd/config/information_sites.ini"); }
void frmMain::mnuFileLoadServerList_Click() { openScriptFile("korvex.wfd/config/servers.ini"); }
void frmMain::mnuFileLoadFunctions_Click() { openScriptFile("korvex.wfd/config/orn_functions.ini"); }

void frmMain::mnuCreateNew_Click() {
    if (loading_) return;
    scripts_->show();
    scripts_->raise();
    scripts_->activateWindow();
}

void frmMain::SaveScriptOverwrite(const std::string& relativePath) {
    const int answer = platform().msgBox("This will save your Script and overwrite\r\nthe allready existing one.\r\n\r\n"
                                         "Ok, to save to " + relativePath + "?",
                                         box::YesNo + box::Question, "Confirm Save.");
    if (answer != box::Yes) {
        platform().msgBox("Save aborted.", box::Information, "Information.");
        return;
    }
    try {
        writeLinesAtomic(resolvePath(korvexDir_, relativePath), scriptFileLines());
    } catch (const RunError& e) {
        showError(e);
        return;
    }
    platform().msgBox("File has been saved.", box::Information, "Information.");
}

void frmMain::mnuFileSaveCurrent_Click() {
    if (loading_) return;
    if (newScript_) {
        // A dialog already closed (its deletion pending) is not brought back.
        if (!saveTo_ || !saveTo_->isVisible()) {
            const ScriptKind& k = scriptKinds()[static_cast<size_t>(kind_)];
            SaveInputs in{k.defaultName, resolvePath(korvexDir_, k.saveFolder), k.nameEditable, k.folderEditable};
            auto* d = new frmSaveTo(*this, in);
            if (!d->Form_Load()) {
                delete d;
                return;
            }
            saveTo_ = d;
        }
        saveTo_->show();
        saveTo_->raise();
        saveTo_->activateWindow();
        return;
    }
    if (!scriptPath_) {
        // Never over some other file.
        showError(RunError(err::BadFileName));
        return;
    }
    SaveScriptOverwrite(*scriptPath_);
}

void frmMain::mnuFileCloseCurrent_Click() {
    if (loading_) return;
    const int answer = platform().msgBox(
        "Don't forget to save your changes...\r\nAre you sure that you want to close this script?",
        box::YesNo + box::Question, "Question.");
    if (answer != box::Yes) return;
    scriptReplaced();
    ScriptText->hide();
    ScriptText->clear();
    scriptPath_.reset();
    newScript_ = false;
    SetEditState(1);
    setWindowTitle(toUi(AppTitle));
}

void frmMain::mnuFileQuit_Click() { close(); }

void frmMain::mnuHelpAbout_Click() {
    if (!about_) about_ = new frmAbout(this);
    about_->show();
    about_->raise();
}

void frmMain::mnuHelpScripting_Click() {
    startURL(localFileUrl(resolvePath(korvexDir_, "korvex.wfd/helpfiles/scriptingqfs/script_index.htm")));
}

} // namespace kx::quillroom
