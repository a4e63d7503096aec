#pragma once
// "joining...": the servers of servers.ini, the address to join, the player's name and team;
// resolving "dns&" names, asking whether an address is reachable, adding servers to the list.

#include <QWidget>

#include <string>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace kx::seatfinder {

class frmJoiner : public QWidget {
    Q_OBJECT
public:
    // commandLine: the module's whole command line, the game directory.
    explicit frmJoiner(std::string commandLine, QWidget* parent = nullptr);

    // The window's load. Ends the program through the platform when the command line is refused.
    void Form_Load();
    void lstServer_Click();
    void textIP_Change();
    void Command1_Click(); // "&Ok"
    void Command2_Click(); // "Add Server"
    void Command3_Click(); // "&Cancel"
    void Command4_Click(); // "Edit List"
    void Command5_Click(); // "Query" / "Resolve"
    void Command6_Click(); // "&Server List Options"
    void mnuServerAddServer_Click();
    void munServerEditList_Click();

    const std::string& korvexDir() const { return korvexDir_; }
    bool unloaded() const { return unloaded_; }

    QComboBox* lstServer;
    QListWidget* lstIP; // kept out of sight, index for index with lstServer
    QLineEdit* textIP;
    QLineEdit* Text1;
    QComboBox* Combo2;
    QPushButton* Command1;
    QPushButton* Command5;
    QPushButton* Command6;
    QPushButton* Command2;
    QPushButton* Command4;
    QPushButton* Command3;
    QMenu* mnuServer;
    QAction* mnuServerAddServer;
    QAction* munServerEditList;
    QLabel* Label1; // "Please select a server, ..."
    QLabel* Label2; // "Server"
    QLabel* Label3; // "server"
    QLabel* Label4; // "IP"
    QLabel* Label5; // "You"
    QLabel* Label6; // "your name"
    QLabel* Label7; // "assign team"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Clears both lists, adds the fixed entry and reads servers.ini; selects nothing.
    void fillServerList();
    void invalidAddressBox(const std::string& address);

    std::string commandLine_;
    std::string korvexDir_;
    bool unloaded_ = false;
};

} // namespace kx::seatfinder
