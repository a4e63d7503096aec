#pragma once
// The save dialog "Choose destination" of a new script: the kind's file name and folder,
// each fixed or free as the kind says; "Okay" writes the script there.

#include "shared/widgets/FileControls.h"

#include <QWidget>

#include <string>

class QLineEdit;
class QPushButton;

namespace kx::quillroom {

class frmMain;

struct SaveInputs {
    std::string defaultName;
    std::string folder; // full path
    bool nameEditable = false;
    bool folderEditable = false;
};

class frmSaveTo : public QWidget {
    Q_OBJECT
public:
    frmSaveTo(frmMain& main, SaveInputs inputs);

    QLineEdit* Text1 = nullptr;
    DriveListBox* Drive1 = nullptr;
    DirListBox* Dir1 = nullptr;
    QPushButton* Command1 = nullptr; // "Okay"
    QPushButton* Command2 = nullptr; // "Cancel"

    // Sets the lists, the name and the title; false (after ShowError) when the folder cannot
    // be opened, and the dialog is not to be shown.
    bool Form_Load();
    void Drive1_Change();
    void Command1_Click();
    void Command2_Click();

private:
    frmMain& main_;
    SaveInputs in_;
};

} // namespace kx::quillroom
