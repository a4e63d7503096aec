#pragma once
// The screenshot-folder picker "browse screenshot dir.": a drive list and a folder list; "&Okay"
// hands the opened folder to the wizard's box, "Create &Dir" makes a new folder in it.

#include "shared/widgets/FileControls.h"

#include <QPointer>
#include <QWidget>

#include <string>

namespace kx {
class LimitedTextBox;
}
class QPushButton;

namespace kx::prepdesk {

class frmGetScreenieDir : public QWidget {
    Q_OBJECT
public:
    // target: the wizard's box that "&Okay" fills; nothing is written once it is gone.
    explicit frmGetScreenieDir(LimitedTextBox* target, QWidget* parent = nullptr);

    DriveListBox* Drive1 = nullptr;
    DirListBox* Dir1 = nullptr;
    QPushButton* Command1 = nullptr; // "&Okay"
    QPushButton* Command2 = nullptr; // "&Cancel"
    QPushButton* Command3 = nullptr; // "Create &Dir"

    void Drive1_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

private:
    QPointer<LimitedTextBox> target_;
};

// Opens the module's current directory in dirs, with its drive chosen in drives (shared by
// both pickers).
void openCurrentDirectory(DriveListBox& drives, DirListBox& dirs);


} // namespace kx::prepdesk
