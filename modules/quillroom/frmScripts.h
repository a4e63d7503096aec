#pragma once
// The template chooser "Choose Script Template...": the eight script kinds; "OK" makes a new
// script of the chosen kind in the main window. Return is "OK" and Escape "Cancel"; the list has
// the focus whenever the chooser opens.

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

protected:
    void showEvent(QShowEvent* event) override;

private:
    frmMain& main_;
};

} // namespace kx::quillroom
