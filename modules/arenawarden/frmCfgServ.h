#pragma once
// The configuration window: five pages behind a tab strip to set up the dedicated server,
// process ServerSets, edit the rotation list and launch the server once or cycling.

#include "frmLoadListDialog.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QTabBar;

namespace kx {
class CommandLabel;
class FileListBox;
}

namespace kx::arenawarden {

class ClickLineEdit;
class TextBox;

class frmCfgServ : public QWidget {
    Q_OBJECT
public:
    frmCfgServ();
    ~frmCfgServ() override;

    QTabBar* tbsConfigureTab;
    QStackedWidget* pages;
    std::array<QWidget*, 5> Picture1{}; // the pages, by tab

    // 0 start page
    QLabel* lblKorvex3;
    QLabel* Label15;
    QLabel* Label19;
    CommandLabel* Label22; // launch with my default settings
    CommandLabel* Label21; // information
    CommandLabel* Label20; // process a ServerSet
    QWidget* Picture2;   // info sub-page
    TextBox* Text1;
    CommandLabel* Label23;
    QWidget* Picture4; // ServerSet sub-page
    QLabel* Label27;
    FileListBox* File1;
    CommandLabel* Label28;
    CommandLabel* Label29;
    QWidget* Picture3; // confirmation sub-page
    QLabel* Label26;
    TextBox* Protocol;
    CommandLabel* Label25;
    CommandLabel* Label24;

    // 1 server configuration
    QLabel* Label2;
    QLabel* Label1;
    QComboBox* Combo1; // " 2" .. " 30"
    QLabel* Label4;
    QLineEdit* Text2; // the game (host) name
    QLabel* Label6;
    QComboBox* Combo3; // deathmatch, ctf, teamplay
    QCheckBox* Check1; // cycling server
    QCheckBox* Check2; // advertises Korvex3

    // 2 cycle time
    QLabel* Label3;
    QLabel* Label5;
    QScrollBar* HScroll1;
    ClickLineEdit* Text3;
    QLabel* Label8;
    QLabel* Label7;

    // 3 map lists
    QLabel* Label9;
    QLabel* Label11;
    QLabel* Label12;
    QListWidget* List1; // the game's levels
    QListWidget* List2; // the rotation list
    QPushButton* Command4; // >
    QPushButton* Command5; // <
    QPushButton* Command3; // List
    QLabel* Label10;
    QMenu* mnuListMenu;
    QAction* mnuListMenuLoadList;
    QAction* mnuListMenuSaveList;
    QAction* mnuListMenuSpacer;
    QAction* mnuListMenuClearList;

    // 4 launch
    QLabel* Label13;
    QLabel* Label14;
    QPushButton* Command1; // launch
    QPushButton* Command2; // end
    QLabel* Label16;
    QLabel* Label17;
    CommandLabel* Label18; // create ServerSet

    void Form_Load();
    void Form_Unload();
    void tbsConfigureTab_Click();
    void Command1_Click(); // launch
    void Command2_Click(); // end
    void Label22_Click();
    void Label21_Click();
    void Label23_Click();
    void Label20_Click();
    void Label28_Click();
    void Label29_Click();
    void Label25_Click();
    void Label24_Click();
    void Label18_Click(); // create ServerSet
    void HScroll1_Change();
    void Text3_Click(); // cycle-time input
    void Command4_Click(); // add
    void Command5_Click(); // remove
    void Command3_Click(); // the list menu
    void List1_DblClick();
    void List2_DblClick();
    void mnuListMenuLoadList_Click();
    void mnuListMenuSaveList_Click();
    void mnuListMenuClearList_Click();

    void LogProtocol(const std::string& line);

    // The load dialog while it is open.
    frmLoadListDialog* loadListDialog() const { return loadDialog_.data(); }

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void loadFiles();
    void showSubPage(QWidget* page);
    // The cycle time a launch hands over: the typed value only within 10..90.
    bool typedCycleTimeUsed() const;
    double cycleMinutes() const;
    QString cycleMinutesText() const;
    QPointer<frmLoadListDialog> loadDialog_;
    QWidget* startPage_ = nullptr; // the start page's own controls, under its sub-pages
    std::array<bool, 3> subPageUp_{};  // Picture2, Picture4, Picture3
    bool unloaded_ = false;
};

} // namespace kx::arenawarden
