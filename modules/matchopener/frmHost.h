#pragma once
// "hosting...": the host defaults of korvex.cfg and the game's level list, and "&Ok" to start
// the game as the host of a network game.

#include <QWidget>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kx::matchopener {

class frmHost : public QWidget {
    Q_OBJECT
public:
    // commandLine: the module's whole command line, the game directory.
    explicit frmHost(std::string commandLine, QWidget* parent = nullptr);

    // The window's load: start check, korvex.cfg, lists, levels.nfo. Ends the program through
    // the platform when the command line is refused.
    void Form_Load();
    void Command1_Click(); // "&Ok"
    void Command2_Click(); // "&Cancel"

    const std::string& korvexDir() const { return korvexDir_; }
    // True once the window was unloaded (by either button or by closing it).
    bool unloaded() const { return unloaded_; }

    QComboBox* Combo1;  // player counts " 2" .. " 16"
    QLineEdit* Text1;   // player name
    QComboBox* Combo2;  // team words
    QLineEdit* Text2;   // game name
    QComboBox* Combo4;  // level names
    QComboBox* Combo3;  // game-type words
    QPushButton* Command1;
    QPushButton* Command2;
    QLabel* Label1;     // "You"
    QLabel* Label2;     // "Your Game"
    QLabel* Label3;     // "your name"
    QLabel* Label4;     // "assign team"
    QLabel* Label5;     // "maxmimum number of players"
    QLabel* Label6;     // "your games name"
    QLabel* Label7;     // "what map do you prefer?"
    QLabel* Label8;     // "what type of game do you wish?"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::string commandLine_;
    std::string korvexDir_;
    bool unloaded_ = false;
};

} // namespace kx::matchopener
