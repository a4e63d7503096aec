#pragma once
// The template chooser "Choose Script Template...": the eight script kinds; "OK" makes a new
// script of the chosen kind in the main window.

#include <QWidget>

class QComboBox;
class QPushButton;

namespace kx::quillroom {

class frmMain;

class frmScripts : public QWidget {
    Q_OBJECT
public:
    explicit frmScripts(frmMain& main);

    QComboBox* Combo1 = nullptr;
    QPushButton* Command1 = nullptr; // "OK"
    QPushButton* Command2 = nullptr; // "Cancel"

    void Command1_Click();
    void Command2_Click();

private:
    frmMain& main_;
};

} // namespace kx::quillroom
