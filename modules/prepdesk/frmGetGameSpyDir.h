#pragma once
// The GameSpy program picker "browse GameSpy dir.": drive, folder and file lists, narrowed by
// the program kind; "&Okay" hands the chosen program's path to the wizard's box.

#include "shared/widgets/FileControls.h"

#include <QPointer>
#include <QWidget>

#include <string>

class QComboBox;
namespace kx {
class LimitedTextBox;
}
class QPushButton;

namespace kx::prepdesk {

class frmGetGameSpyDir : public QWidget {
    Q_OBJECT
public:
    explicit frmGetGameSpyDir(LimitedTextBox* target, QWidget* parent = nullptr);

    QComboBox* Combo1 = nullptr; // program kind
    FileListBox* File1 = nullptr;
    DirListBox* Dir1 = nullptr;
    DriveListBox* Drive1 = nullptr;
    QPushButton* Command1 = nullptr; // "&Okay"
    QPushButton* Command2 = nullptr; // "&Cancel"

    void Drive1_Change();
    void Dir1_Change();
    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();

    // The file pattern of a program kind ("" outside the table).
    static std::string kindPattern(int index);
    // The path "&Okay" hands over: the folder, one separator and the selected file's name
    // (the folder and a separator when no file is selected).
    std::string programPath() const;

private:
    QPointer<LimitedTextBox> target_;
};

} // namespace kx::prepdesk
