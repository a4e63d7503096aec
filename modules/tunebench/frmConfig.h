#pragma once
// "configuring defaults...": sliders, limit boxes, check boxes and the connection presets;
// "&ok" writes the game's default.cfg and ends the module.

#include <QWidget>

#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace kx::tunebench {

class frmConfig : public QWidget {
    Q_OBJECT
public:
    // commandLine: the module's whole command line, the game directory.
    explicit frmConfig(std::string commandLine, QWidget* parent = nullptr);

    // Refuses an empty command line (the program ends), fills the preset list and applies
    // preset 0. The current directory stays as it is.
    void Form_Load();
    // Positions outside 0 to 5 (-1: nothing selected) change nothing.
    void ApplyConnectionPreset(int position);
    void Combo1_Click();  // an entry chosen
    void Combo1_Change(); // text typed into the edit field: selects no entry
    void Command11_Click(); // "&ok"
    void Command12_Click(); // "&cancel"

    // The twelve lines "&ok" would write now.
    std::vector<std::string> configLines() const;
    const std::string& korvexDir() const { return korvexDir_; }
    bool unloaded() const { return unloaded_; }

    QScrollBar* ScrollFOV;
    QScrollBar* ScrollVIEWDIST;
    QScrollBar* ScrollMOUSESENS;
    QScrollBar* ScrollLATENCY;
    QScrollBar* ScrollMAXDUP;
    QScrollBar* ScrollMAXRESEND;
    QLabel* SettingsFov;
    QLabel* SettingsViewDist;
    QLabel* SettingsMousesens;
    QLabel* SettingsLatency;
    QLabel* SettingsMaxDup;
    QLabel* SettingsMaxResend;
    QLineEdit* TextSCORELIMIT;
    QLineEdit* TextFRAGLIMIT;
    QLineEdit* TextTIMELIMIT;
    QCheckBox* CheckNEXTMAP;
    QCheckBox* CheckNETTEST;
    QCheckBox* CheckFRAMERATE;
    QComboBox* Combo1;
    QPushButton* Command11;
    QPushButton* Command12;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::string commandLine_;
    std::string korvexDir_;
    bool unloaded_ = false;
};

} // namespace kx::tunebench
