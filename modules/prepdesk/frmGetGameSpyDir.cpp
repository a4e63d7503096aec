#include "frmGetGameSpyDir.h"

#include "frmGetScreenieDir.h"

#include "shared/widgets/DriveChange.h"

#include "core/Text.h"
#include "shared/Ui.h"

#include <QComboBox>
#include <QGridLayout>
#include "shared/widgets/LimitedTextBox.h"

#include <QLineEdit>
#include <QPushButton>

namespace kx::prepdesk {

frmGetGameSpyDir::frmGetGameSpyDir(LimitedTextBox* target, QWidget* parent) : QWidget(parent, Qt::Window), target_(target) {
    setObjectName("frmGetGameSpyDir");
    setWindowTitle("browse GameSpy dir.");
    setAttribute(Qt::WA_DeleteOnClose);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName("Combo1");
    File1 = new FileListBox(this);
    File1->setObjectName("File1");
    Dir1 = new DirListBox(this);
    Dir1->setObjectName("Dir1");
    Drive1 = new DriveListBox(this);
    Drive1->setObjectName("Drive1");
    Command1 = new QPushButton("&Okay", this);
    Command1->setObjectName("Command1");
    Command2 = new QPushButton("&Cancel", this);
    Command2->setObjectName("Command2");

    auto* l = new QGridLayout(this);
    l->addWidget(Combo1, 0, 0, 1, 2);
    l->addWidget(File1, 1, 0, 2, 1);
    l->addWidget(Dir1, 1, 1);
    l->addWidget(Drive1, 2, 1);
    l->addWidget(Command1, 3, 0);
    l->addWidget(Command2, 3, 1);
    resize(480, 360);

    Combo1->addItems({"GameSpy Arcade", "GameSpy 3D", "All Files"});
    selectComboIndex(Combo1, 0);
    Combo1_Click();

    openCurrentDirectory(*Drive1, *Dir1);
    Dir1_Change();

    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Drive1, &DriveListBox::driveChanged, this, [this] { Drive1_Change(); });
    connect(Dir1, &DirListBox::pathChanged, this, [this] { Dir1_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    // Escape cancels; Return takes the chosen program, except in the folder list, which opens
    // the highlighted folder on Return.
    setDialogKeys(this, Command1, Command2);
}

std::string frmGetGameSpyDir::kindPattern(int index) {
    static const char* const patterns[] = {"Aphex.exe", "GameSpy.exe", "*.*"};
    return index >= 0 && index < 3 ? patterns[index] : "";
}

void frmGetGameSpyDir::Drive1_Change() { driveChange(*Drive1, *Dir1, "C:"); }

void frmGetGameSpyDir::Dir1_Change() { File1->setPath(Dir1->path()); }

void frmGetGameSpyDir::Combo1_Click() {
    const std::string pattern = kindPattern(Combo1->currentIndex());
    if (!pattern.empty()) File1->setPattern(pattern);
}

std::string frmGetGameSpyDir::programPath() const {
    // One separator, also at a root ("/" and the name, not a doubled one).
    std::string path = File1->path();
    if (path.empty() || path.back() != '/') path += '/';
    return path + File1->fileName();
}

void frmGetGameSpyDir::Command1_Click() {
    if (target_) target_->setBytes(programPath());
    close();
}

void frmGetGameSpyDir::Command2_Click() { close(); }

} // namespace kx::prepdesk
