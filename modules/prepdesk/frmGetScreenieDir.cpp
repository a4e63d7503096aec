#include "frmGetScreenieDir.h"

#include "shared/widgets/DriveChange.h"

#include "shared/Boxes.h"
#include "core/Files.h"
#include "platform/Platform.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QGridLayout>
#include "shared/widgets/LimitedTextBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace kx::prepdesk {

void openCurrentDirectory(DriveListBox& drives, DirListBox& dirs) {
    const std::string cwd = platform().currentDir();
    const std::string drive = driveOf(cwd);
    try {
        {
            const QSignalBlocker hold(&drives);
            drives.setDrive(drive);
        }
        dirs.setPath(cwd.empty() ? drive : cwd);
    } catch (const RunError& e) {
        // The current directory went away: the picker opens on its drive's root instead.
        showError(e);
        try {
            dirs.setPath(drive);
        } catch (const RunError& again) {
            showError(again);
        }
    }
}

frmGetScreenieDir::frmGetScreenieDir(LimitedTextBox* target, QWidget* parent) : QWidget(parent, Qt::Window), target_(target) {
    setObjectName("frmGetScreenieDir");
    setWindowTitle("browse screenshot dir.");
    setAttribute(Qt::WA_DeleteOnClose);

    Drive1 = new DriveListBox(this);
    Drive1->setObjectName("Drive1");
    Dir1 = new DirListBox(this);
    Dir1->setObjectName("Dir1");
    Command1 = new QPushButton("&Okay", this);
    Command1->setObjectName("Command1");
    Command2 = new QPushButton("&Cancel", this);
    Command2->setObjectName("Command2");
    Command3 = new QPushButton("Create &Dir", this);
    Command3->setObjectName("Command3");

    auto* l = new QGridLayout(this);
    l->addWidget(Drive1, 0, 0, 1, 3);
    l->addWidget(Dir1, 1, 0, 1, 3);
    l->addWidget(Command3, 2, 0);
    l->addWidget(Command1, 2, 1);
    l->addWidget(Command2, 2, 2);
    resize(320, 360);

    openCurrentDirectory(*Drive1, *Dir1);

    connect(Drive1, &DriveListBox::driveChanged, this, [this] { Drive1_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    // Escape cancels; Return takes the opened folder, except in the folder list, which opens
    // the highlighted folder on Return.
    setDialogKeys(this, Command1, Command2);
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
}

void frmGetScreenieDir::Drive1_Change() { driveChange(*Drive1, *Dir1, "C:"); }

void frmGetScreenieDir::Command1_Click() {
    // The folder opened in the list, not merely the one highlighted.
    if (target_) target_->setBytes(Dir1->path());
    close();
}

void frmGetScreenieDir::Command2_Click() { close(); }

void frmGetScreenieDir::Command3_Click() {
    // A folder name, so UTF-8: the folder lists show it as typed.
    const std::string name =
        typedName(platform().inputBox("Please enter the name of the new folder.", "Create folder.", "new folder"));
    try {
        // Only a plain folder name: nothing that reaches outside the open folder or is no name.
        if (!isValidFileName(name)) throw RunError(err::BadFileName);
        // Resolved ignoring case, so a folder that differs only in case counts as existing.
        makeDir(resolvePath(Dir1->path(), name));
        Dir1->refresh();
    } catch (const RunError& e) {
        showError(e);
    }
}

} // namespace kx::prepdesk
