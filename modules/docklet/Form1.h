#pragma once
// "Korvex Docklet": the info window, which also owns the notification-area icon and its
// pop-up menu for the module's whole life. Unloading it ends the module.

#include "ServerSetMenu.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace kx::docklet {

// The icon's tip and picture (16 and 32 pixel images of one drawing).
inline const std::string TrayTip = "Korvex3 Docklet. Right click shows menu.";
inline const std::string TrayIconPath = ":/docklet/docklet.xpm";

// The module's start after its single-instance check: the command-line check, then the
// hidden window with its icon. Ends the program through the platform when refused.
void start(const std::string& commandLine);

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(std::string korvexDir, QWidget* parent = nullptr);
    ~Form1() override;

    // Adds the icon and builds the server-set items. With no notification area to put the
    // icon into, the module could never be reached: it says so on standard error and ends.
    void Form_Load();

    // The platform's mouse notification for the icon (tray::LeftDoubleClick, tray::RightButtonUp).
    void trayMouse(int message);
    void LoadServerSetMenu();

    // Menu items.
    void mnuStartKorvex_Click();
    void mnuStartQF_Click();
    void mnuStartHost_Click();
    void mnuStartJoin_Click();
    void mnuStartDedicated_Click();
    void mnuStartInfo_Click();
    void mnuStartQuit_Click();
    void mnuServerSetReload_Click();
    void mnuToolsPlugIn_Click(int index);
    // Buttons.
    void Command1_Click(); // "&Ok"
    void Command2_Click(); // "&Quit"

    // How the pop-up menu is shown; it returns once the choice has run. Tests replace it.
    std::function<void(QMenu*)> popUpMenu;

    const std::string& korvexDir() const { return korvexDir_; }
    int mouseMessage() const { return mouseMessage_; }
    bool busy() const { return busy_; }
    int serverSetCount() const { return serverSetCount_; }
    const std::vector<ServerSetItem>& serverSets() const { return serverSets_; }

    QMenu* mnuMenu;
    QAction* mnuStartKorvex;
    QAction* mnuStartQF;
    QAction* mnuStartLine1;
    QAction* mnuStartHost;
    QAction* mnuStartJoin;
    QAction* mnuStartDedicated;
    QAction* mnuStartLine2;
    QMenu* mnuserversetlaunch;
    QAction* mnuStartLine3;
    QAction* mnuStartInfo;
    QAction* mnuStartQuit;
    QAction* mnuStartLine4;
    QAction* mnuCancel;
    QAction* mnuServerSetReload;
    QAction* mnuServerSetLine1;
    std::vector<QAction*> mnuToolsPlugIn; // item 0 always exists

    QLabel* Label1;
    QLabel* Image1;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QPushButton* Command1;
    QPushButton* Command2;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Removes the icon, then ends the module: every way of unloading the window comes here.
    [[noreturn]] void unload();
    void startProgram(const std::string& name, const std::string& failure);

    std::string korvexDir_;
    std::vector<ServerSetItem> serverSets_; // one per item of mnuToolsPlugIn while sets exist
    int serverSetCount_ = 0;
    int mouseMessage_ = 0;
    bool busy_ = false;
    bool iconAdded_ = false;
};

} // namespace kx::docklet
