#pragma once
// The script editor's main window "Korvex3.1 Script Administration Utillity": the menu tree
// that opens the suite's script files, makes new scripts from templates and saves them, and
// the editing area ScriptText. Closing the window in any way ends the module.

#include "Scripts.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QCloseEvent;
class QMenu;
class QTextCharFormat;

namespace kx::quillroom {

class frmAbout;
class frmSaveTo;
class frmScripts;
class ScriptEdit;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // korvexDir: the checked command line. Builds the window and runs the rest of Main
    // (editor placement, the two file menus, the korvex.cfg values, the chooser).
    explicit frmMain(const std::string& korvexDir, QWidget* parent = nullptr);

    ScriptEdit* ScriptText = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuFileLoad = nullptr;
    QMenu* mnuFileLoadPlugIn = nullptr;
    std::vector<QAction*> mnuToolsPlugIn;
    QMenu* mnuFileLoadServerSet = nullptr;
    std::vector<QAction*> mnuFileLoadServerSetFile;
    QMenu* mnuFileLoadCurrentSkin = nullptr;
    QAction* mnuFileLoadCurrentSkinInformation = nullptr;
    QAction* mnuFileLoadCurrentSkinDefinition = nullptr;
    QAction* mnuFileLoadAutoexec = nullptr;
    QAction* mnuFileLoadBrowseThis = nullptr;
    QAction* mnuFileLoadServerList = nullptr;
    QAction* mnuFileLoadFunctions = nullptr;
    QAction* mnuCreateNew = nullptr;
    QAction* mnuFileLine1 = nullptr;
    QAction* mnuFileSaveCurrent = nullptr;
    QAction* mnuFileCloseCurrent = nullptr;
    QAction* mnuFileLine2 = nullptr;
    QAction* mnuFileQuit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QAction* mnuHelpLine1 = nullptr;
    QAction* mnuHelpScripting = nullptr;

    frmScripts* scripts() const;
    frmSaveTo* saveTo() const;
    frmAbout* about() const;

    // 0 editing, 1 idle; other values change nothing.
    void SetEditState(int state);
    void ArrangeEditor();
    // Creates the new script of the kind; true when all three template files were loaded.
    // A kind outside 0-7 keeps the current kind.
    bool NewScriptFromTemplate(int kind);
    // 0 colours the whole text green and keeps its length as the header length; 1 colours
    // the text after the header black. Either leaves the caret at 0, typing in black.
    void ColourScriptText(int mode);
    // The confirmed save over the opened file (relative path as recorded).
    void SaveScriptOverwrite(const std::string& relativePath);

    // Opens a file of the "Load Script" menu (path below the base directory), its codes filled.
    void openScriptFile(const std::string& relativePath);

    void mnuToolsPlugIn_Click(int index);
    void mnuFileLoadServerSetFile_Click(int index);
    void mnuFileLoadCurrentSkinInformation_Click();
    void mnuFileLoadCurrentSkinDefinition_Click();
    void mnuFileLoadAutoexec_Click();
    void mnuFileLoadBrowseThis_Click();
    void mnuFileLoadServerList_Click();
    void mnuFileLoadFunctions_Click();
    void mnuCreateNew_Click();
    void mnuFileSaveCurrent_Click();
    void mnuFileCloseCurrent_Click();
    void mnuFileQuit_Click();
    void mnuHelpAbout_Click();
    void mnuHelpScripting_Click();

    // Module-wide values.
    const std::string& korvexDir() const { return korvexDir_; }
    const std::string& playerName() const { return playerName_; }
    const std::string& skinName() const { return skinName_; }
    int currentKind() const { return kind_; }
    int headerLength() const { return headerLength_; }
    // The recorded path of the script in the editor; none when no load has recorded one.
    const std::optional<std::string>& scriptPath() const { return scriptPath_; }
    bool isNewScript() const { return newScript_; }
    // While a load runs: window events are served, nothing else loads, saves or closes.
    bool isLoading() const { return loading_; }
    // The editor's text as the file lines it is saved as.
    std::vector<std::string> scriptFileLines() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ListPlugIns();
    void ListServerSets();
    void ReadConfigValues();
    void fileArray(QMenu* menu, std::vector<QAction*>& items, const char* name, const std::string& folder,
                   const std::string& pattern, bool (*usable)(const std::string&), const char* emptyCaption, void (frmMain::*handler)(int));
    void openArrayItem(const std::vector<QAction*>& items, int index, const std::string& folder);
    void openSkinFile(const std::string& file);
    void scriptReplaced();
    Placeholders codes() const;
    // A load session: menus and typing held, no undo kept. endLoad is false when the window
    // was closed meanwhile: the load stopped, and nothing more is to be done.
    void beginLoad();
    bool endLoad();
    bool load(const std::vector<std::string>& lines, int append);
    // The file's lines with the codes filled; nullopt when the window was closed meanwhile.
    std::optional<std::vector<std::string>> readServing(const std::string& path, const Placeholders& fill,
                                                        OtherCodes other);

    std::string korvexDir_, playerName_, skinName_;
    int kind_ = -1;
    int headerLength_ = 0;
    std::optional<std::string> scriptPath_;
    bool newScript_ = false;
    bool loading_ = false;
    bool closedWhileLoading_ = false;
    bool deleteAfterLoad_ = false;
    std::vector<std::pair<QAction*, bool>> heldMenus_;
    QPointer<frmScripts> scripts_;
    QPointer<frmSaveTo> saveTo_;
    QPointer<frmAbout> about_;
};

// The lines of a script file with the placeholder codes filled. Raises the file's RunError.
std::vector<std::string> readScriptFile(const std::string& path, const Placeholders& codes, OtherCodes other);
// Puts the lines into the editing area, each followed by a line break: append 0 replaces its
// text, any other value appends to it. serve runs window events between slices of the load;
// false from it stops the load, and false is returned.
bool LoadScriptText(ScriptEdit& editor, const std::vector<std::string>& lines, int append,
                    const std::function<bool()>& serve);

// Main after the single-instance test: the command-line check, then the window, shown.
// nullptr when the check ended the module.
frmMain* startModule(const std::string& commandLine);

} // namespace kx::quillroom
