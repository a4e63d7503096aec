#include "frmSaveTo.h"

#include "frmMain.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/Boxes.h"
#include "shared/Ui.h"
#include "shared/widgets/LimitedTextBox.h"
#include "shared/widgets/DriveChange.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace kx::quillroom {

frmSaveTo::frmSaveTo(frmMain& main, SaveInputs inputs)
    : QWidget(&main, Qt::Window), main_(main), in_(std::move(inputs)) {
    setObjectName("frmSaveTo");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Choose destination");
    Text1 = named(textBox(), "Text1");
    Drive1 = named(new DriveListBox(this), "Drive1");
    Dir1 = named(new DirListBox(this), "Dir1");
    Command1 = named(new QPushButton("Okay", this), "Command1");
    Command2 = named(new QPushButton("Cancel", this), "Command2");
    auto* l = new QGridLayout(this);
    l->addWidget(Text1, 0, 0, 1, 2);
    l->addWidget(Drive1, 1, 0, 1, 2);
    l->addWidget(Dir1, 2, 0, 1, 2);
    l->addWidget(Command1, 3, 0);
    l->addWidget(Command2, 3, 1);
    resize(340, 380);
    connect(Drive1, &DriveListBox::driveChanged, this, [this] { Drive1_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    // Return is "Okay" except in the folder list, where it opens the highlighted folder.
    setDialogKeys(this, Command1, Command2);
}

bool frmSaveTo::Form_Load() {
    {
        const QSignalBlocker hold(Drive1);
        Drive1->setDrive(driveOf(main_.korvexDir()));
    }
    try {
        Dir1->setPath(in_.folder);
    } catch (const RunError& e) {
        // A missing save folder: nothing to save into, so the dialog does not open.
        showError(e);
        return false;
    }
    Text1->setText(toUi(in_.defaultName));
    setWindowTitle(windowTitle() + " for " + toUi(in_.defaultName));
    Text1->setEnabled(in_.nameEditable);
    Drive1->setEnabled(in_.folderEditable);
    Dir1->setEnabled(in_.folderEditable);
    return true;
}

void frmSaveTo::Drive1_Change() { driveChange(*Drive1, *Dir1, "c:"); }

void frmSaveTo::Command1_Click() {
    if (main_.isLoading()) return;
    // A typed name becomes a file name as the user sees it, and one in this folder only.
    const std::string name = stripBreaks(fromUiName(Text1->text()));
    if (!isValidFileName(name)) {
        showError(RunError(err::BadFileName));
        return;
    }
    const std::string folder = Dir1->path();
    const int answer = platform().msgBox("Okay to save " + name + " to\r\n" + folder +
                                             "?\r\nAllready existing files are overwritten...",
                                         box::YesNo + box::Information, "Confirm Save.");
    if (answer != box::Yes) {
        platform().msgBox("Save aborted.", box::Information, "Information.");
        return;
    }
    try {
        writeLinesAtomic(resolvePath(folder, name), main_.scriptFileLines());
    } catch (const RunError& e) {
        showError(e);
        return;
    }
    platform().msgBox("File has been saved.", box::Information, "Information.");
    close();
}

void frmSaveTo::Command2_Click() { close(); }

} // namespace kx::quillroom
