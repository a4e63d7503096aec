#pragma once
// The main window: four buttons, each popping up one menu of the hidden menu mnuMenu, and the
// skin pictures. Every action the user starts by hand begins here. Closing it, whichever way,
// runs the shut-down TerminateMe, which ends the program.

#include <QWidget>

#include <string>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;

namespace kx::launcher {

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    QPushButton* Command7; // "&configuration"
    QPushButton* Command8; // "&game starting"
    QPushButton* Command1; // "&tools and plug-ins"
    QPushButton* Command9; // "&information"

    QLabel* Image1;
    QLabel* Image3;
    QLabel* SkinBody;
    QLabel* Image2;
    QFrame* Line1;

    QMenu* mnuMenu;

    QMenu* mnuConfig;
    QAction* mnuDefaultCFG;
    QAction* mnuLevelsCFG;
    QAction* mnuLineCFG;
    QAction* mneOpenQfFolderCFG;
    QAction* mnuLine2CFG;
    QAction* mnuSelectSkinCFG;
    QAction* mnuKorvexCFG;
    QAction* mnuStartDudoziRezudCFG;

    QMenu* mnuStartGame;
    QAction* mnuSimpleGAME;
    QAction* mnuLine1GAME;
    QAction* mnuSeatfinder;
    QAction* mnuMatchopener;
    QAction* mnuLine2GAME;
    QAction* mnuDedicatedGAME;

    QMenu* mnuInformation;
    QAction* mnuConsoleINFO;
    QAction* mnuLineINFO;
    QMenu* mnubrowsethisINFO;
    std::vector<QAction*> mnuBrowsethisWebSite; // item 0 from the start
    QAction* mnuInfoWebshelf;
    QAction* mnuInfromationLine2;
    QAction* mnuAboutINFO;
    QAction* mnuGettingStarted;
    QAction* mnuInfromationLine3;
    QAction* mnueReadMeINFO;
    QAction* mnueHistoryINFO;

    QMenu* mnuTools;
    QMenu* mnuToolsPlugInsFolder;
    std::vector<QAction*> mnuToolsPlugIn; // item 0 from the start
    QAction* mnuToolsPlugInLine3;
    QAction* mnuToolsPlugInsReload;
    QAction* mnuToolsPlugInLine1;
    QAction* mnuToolsPlugInSNShots;
    QAction* mnuToolsPlugInSNShotsOpen;
    QAction* mnuToolsPlugInLine2;
    QAction* mnuToolsPlugInsGameSpy;
    QAction* mnuToolsPlugInsTalkGate;
    QAction* mnuToolsPlugInsAddonsmith;

    // The menu arrays: items after item 0 are added at the end and removed from the end.
    QAction* addPlugInItem(const std::string& caption);
    void removePlugInItem(int index);
    void resetPlugInItem0();
    QAction* addWebSiteItem(const std::string& caption);
    // An array item's caption is data (a file name, a site descriptor): shown with "&" as a
    // character, and given back as the bytes it was set from.
    static void setArrayCaption(QAction* item, const std::string& caption);
    static std::string arrayCaption(const QAction* item);

    void Command7_Click();
    void Command8_Click();
    void Command1_Click();
    void Command9_Click();
    void Command7_GotFocus();
    void Command8_GotFocus();
    void Command1_GotFocus();
    void Command9_GotFocus();
    void Command7_LostFocus();
    void Command8_LostFocus();
    void Command1_LostFocus();
    void Command9_LostFocus();
    void Command7_MouseMove();
    void Command8_MouseMove();
    void Command1_MouseMove();
    void Command9_MouseMove();

    void mnuDefaultCFG_Click();
    void mnuLevelsCFG_Click();
    void mneOpenQfFolderCFG_Click();
    void mnuSelectSkinCFG_Click();
    void mnuKorvexCFG_Click();
    void mnuStartDudoziRezudCFG_Click();
    void mnuSimpleGAME_Click();
    void mnuSeatfinder_Click();
    void mnuMatchopener_Click();
    void mnuDedicatedGAME_Click();
    void mnuConsoleINFO_Click();
    void mnuBrowsethisWebSite_Click(int index);
    void mnuInfoWebshelf_Click();
    void mnuAboutINFO_Click();
    void mnuGettingStarted_Click();
    void mnueReadMeINFO_Click();
    void mnueHistoryINFO_Click();
    void mnuToolsPlugIn_Click(int index);
    void mnuToolsPlugInsReload_Click();
    void mnuToolsPlugInSNShots_Click();
    void mnuToolsPlugInSNShotsOpen_Click();
    void mnuToolsPlugInsGameSpy_Click();
    void mnuToolsPlugInsTalkGate_Click();
    void mnuToolsPlugInsAddonsmith_Click();

    // Unloading the window: the shut-down, which ends the program.
    void Form_Unload();
    void TerminateMe();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* item(QMenu* menu, const char* name, const char* caption, void (Form1::*handler)());
    QAction* separator(QMenu* menu, const char* name);
    QAction* arrayItem(QMenu* menu, QAction* before, const char* name, int index, const std::string& caption,
                       void (Form1::*handler)(int));
    void popUp(QMenu* menu);
    void setBold(QPushButton* button, bool bold);
    void showViewer(const std::string& path, const std::string& title);
};

} // namespace kx::launcher
