#pragma once
// The running-server window: keeps the game's dedicated server running with one map of the
// rotation list at a time and moves on to the next map at the end of every cycle.

#include <QDateTime>
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace kx::arenawarden {

class TextBox;

class frmServerModule : public QWidget {
    Q_OBJECT
public:
    frmServerModule();
    ~frmServerModule() override;

    QListWidget* List1;  // the rotation list (hidden); its selection is the active map
    QLineEdit* Text2;    // active map
    QLineEdit* Text3;    // next map
    QLineEdit* Text4;    // started
    QLineEdit* Text5;    // now
    QLineEdit* Text6;    // next cycle
    QGroupBox* Frame1;   // "status"
    TextBox* Text1;      // the log
    QGroupBox* Frame3;   // the server name as its caption
    QLabel* lblMaxPlayers;
    QLabel* lblGameType;
    QLabel* lblCycleCount;
    QPushButton* Command1; // start cycling / force cycling
    QPushButton* Command2; // kill server
    QPushButton* Command3; // exit
    QCheckBox* Check1;     // kill server on exit
    QTimer* Timer1;        // the end-of-cycle check, every 100 ms

    // The end of the active cycle; invalid before the first one.
    const QDateTime& cycleEnd() const { return cycleEnd_; }

    void Form_Load();
    void Command1_Click(); // start cycling
    void Command2_Click(); // kill server
    void Command3_Click(); // exit
    void Timer1_Timer();
    void CycleServer();

    // Unloads the window: its timer stops with it.
    void unload();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void log(const std::string& line);
    QDateTime cycleEnd_;
    // While a command of this window runs (a box it opened may be up, a close request may be
    // waiting) the timer's ticks pass: the end test catches up on the next free tick.
    bool busy_ = false;
    bool unloaded_ = false;
};

} // namespace kx::arenawarden
