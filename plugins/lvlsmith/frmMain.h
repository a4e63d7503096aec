#pragma once
// The assistant's one window: six steps on panels, the Next button, the step picture and
// text, and the pop-up menu behind the label "Menu".

#include "shared/Launch.h"
#include "shared/widgets/CommandLabel.h"
#include "shared/widgets/FileControls.h"

#include <QLabel>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kx::lvlsmith {

class frmAbout;

// The "Menu" label: a command label (Tab reaches it, Return and Space click it) that also
// reports its mouse button going down and up, and opens on the menu key.
class MenuLabel : public CommandLabel {
    Q_OBJECT
public:
    using CommandLabel::CommandLabel;
signals:
    void mouseDown();
    void mouseUp();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
};

class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(std::string commandLine, QWidget* parent = nullptr);
    ~frmMain() override;

    // Module values.
    std::string KorvexDir;
    std::int16_t CurrentStep = 0;
    std::string ManualPath;

    // The command-line check; false when the program must end (its box was shown).
    bool Form_Load();
    // The welcome box, the manual and the "firsttime" setting on the first start.
    void firstStart();

    QLabel* Label1;
    MenuLabel* Label2;
    QLabel* WizPic;
    QPlainTextEdit* Description;
    QPushButton* Command1;
    std::array<QWidget*, 6> Cntrl{};
    QPlainTextEdit* Text1;
    DirListBox* Dir1;
    QPushButton *Command3, *Command4, *Command2, *Command5, *Command7, *Command6;
    QRadioButton *Option1, *Option2, *Option3;

    QMenu* mnu;
    QMenu* mnuTools;
    QAction *mnuToolsLaunchMapmaker, *mnuToolsLaunchSwitcher, *mnuOpenLevelsNfo, *mnuOpenQfDir, *mnuOpenNotepad,
        *mnuOpenLogFile, *mnuDeleteLogFile, *mnuOpenSelectedLevel, *mnuHelpManual, *mnuElseAbout, *mnuElseQuit;
    frmAbout* about() const { return about_; }

    // Procedures.
    int OpenManual(std::string& path);
    void IncrementStep() { ++CurrentStep; }
    void DecrementStep() { --CurrentStep; }
    std::string StepNumberText() const;
    void ShowStepPanel();
    void RunGame();
    void RunEditMode();
    void CheckWorldDat(const std::string& levelFolder);
    void WriteLog(const std::string& text);
    void LogSeparator();
    void LogSeparatorBlank();
    std::string logPath() const;

    // Handlers.
    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void Command2_Click();
    void Command5_Click();
    void Command7_Click();
    void Command6_Click();
    void Label2_MouseDown();
    void Label2_MouseUp();
    void Label2_Click();
    void mnuToolsLaunchMapmaker_Click();
    void mnuToolsLaunchSwitcher_Click();
    void mnuOpenLevelsNfo_Click();
    void mnuOpenQfDir_Click();
    void mnuOpenNotepad_Click();
    void mnuOpenLogFile_Click();
    void mnuDeleteLogFile_Click();
    void mnuOpenSelectedLevel_Click();
    void mnuHelpManual_Click();
    void mnuElseAbout_Click();
    void mnuElseQuit_Click();

private:
    std::string levelFolder() const { return Dir1->path(); }
    std::string levelFile(const std::string& name) const;
    void lockNext();
    void backToFolderStep();
    void keepBeforeReplace(const std::string& path, const std::string& newBytes);
    void loadStepPicture();
    void loadStepText();
    void writeLogHeader();
    void startGame(const char* firstLine, const std::vector<std::string>& args);
    void startTool(const std::string& program);
    template <typename F>
    void guarded(F&& f);

    std::string commandLine_;
    std::unique_ptr<LogFile> log_;
    frmAbout* about_ = nullptr;
};

} // namespace kx::lvlsmith
