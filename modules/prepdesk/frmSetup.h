#pragma once
// The set-up wizard "Korvex Setup Wizard": six pages (welcome, nickname, hosting defaults,
// GameSpy and screenshot folder, closing text, additional tasks). Leaving the closing page
// writes korvex.cfg and the per-user settings; closing the wizard ends the module.

#include "shared/widgets/LimitedTextBox.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kx::prepdesk {

class frmGetGameSpyDir;
class frmGetScreenieDir;

class frmSetup : public QWidget {
    Q_OBJECT
public:
    // commandLine: the game directory; empty: the directory two levels above the current one.
    explicit frmSetup(const std::string& commandLine, QWidget* parent = nullptr);
    ~frmSetup() override;

    // The page panels, index 0 to 5; only the current page's panel is visible.
    std::array<QFrame*, 6> Picture1{};
    QLabel* Label1 = nullptr;
    QPushButton* Command6 = nullptr; // "&Back"
    QPushButton* Command1 = nullptr; // "&Next"
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;

    // page 0
    QPlainTextEdit* Text1 = nullptr;
    // page 1
    QLabel *Label3 = nullptr, *Label4 = nullptr, *Label2 = nullptr;
    LimitedTextBox* PlayerNameText = nullptr;
    // page 2
    QLabel *Label7 = nullptr, *Label6 = nullptr, *Label5 = nullptr, *Label9 = nullptr, *Label10 = nullptr,
           *Label11 = nullptr, *Label12 = nullptr;
    QComboBox *PlayerTeam = nullptr, *MultiPlayerGameType = nullptr, *MultiPlayerMap = nullptr,
              *MultiPlayerMaxPlayer = nullptr;
    LimitedTextBox* GameNameText = nullptr;
    // page 3
    QLabel *Label17 = nullptr, *Label18 = nullptr, *Label8 = nullptr, *Label14 = nullptr, *Label13 = nullptr;
    LimitedTextBox *GameSpyDir = nullptr, *SnapShotDir = nullptr;
    QPushButton *Command2 = nullptr, *Command7 = nullptr; // "browse"
    QCheckBox* AutoBackUp = nullptr;
    // page 4
    QLabel* Label19 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    // page 5
    QLabel *Label15 = nullptr, *Label16 = nullptr, *Label21 = nullptr, *Label20 = nullptr;
    QPushButton *Command4 = nullptr, *Command3 = nullptr;

    // Handlers.
    void Command1_Click();        // "&Next"
    void Command6_Click();        // "&Back"
    void Command2_Click();        // GameSpy "browse"
    void Command7_Click();        // screenshot folder "browse"
    void Command3_Click();        // autoexec switch
    void Command4_Click();        // skin chooser
    void PlayerNameText_Change(); // the game name follows the nickname

    // Unloads the wizard, which ends the module; an open picker goes with it.
    void unload();
    // The close box unloads the wizard (public so that tests can deliver it directly).
    void closeEvent(QCloseEvent* event) override;

    const std::string& korvexDir() const { return korvexDir_; }
    int page() const { return page_; }
    const std::string& autoexecFlag() const { return autoexec_; }
    // The open pickers (null when none is open).
    frmGetScreenieDir* screenieDirPicker() const;
    frmGetGameSpyDir* gameSpyDirPicker() const;

    static const std::string AutoexecText; // Label20's fixed text before "enabled." / "disabled."

private:
    void buildPages();
    void showPage(int page, int old);
    void focusFirstField();
    std::string loadInfo(const std::string& name);
    void writeConfiguration();

    std::string korvexDir_;
    int page_ = 0;
    std::string autoexec_ = "true";
    bool unloaded_ = false;
    QPointer<frmGetScreenieDir> screenie_;
    QPointer<frmGetGameSpyDir> gameSpy_;
};

} // namespace kx::prepdesk
