#include "Form2.h"

#include "Form1.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "shared/Boxes.h"
#include "shared/PlugInScript.h"
#include "shared/Ui.h"
#include "shared/widgets/FileControls.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kx::addonsmith {

Form2::Form2(Form1& wizard, QWidget* parent) : QWidget(parent, Qt::Window), wizard_(wizard) {
    setObjectName("Form2");
    setWindowTitle("Load a PlugIn");
    File1 = named(new FileListBox(this), "File1");
    File1->setPattern("*.spi");
    // The launcher's rule for description names: what is listed here is what it lists and runs.
    File1->setNameRule(isUsablePlugInName);
    Command1 = named(new QPushButton("&Load", this), "Command1");
    Command2 = named(new QPushButton("&Cancel", this), "Command2");
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    // Return loads the highlighted file, Escape cancels.
    setDialogKeys(this, Command1, Command2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(File1);
    layout->addLayout(buttons);
}

void Form2::Form_Load() { File1->setPath(plugInFolder(wizard_.korvexDir())); }

std::string Form2::selectedFile() const {
    // The entry keeps the name's bytes as listed, so a UTF-8 name is opened as it is spelt on
    // disk; a file written into the folder since the list was filled cannot shift the rows.
    return listText(File1, listIndex(File1));
}

void Form2::Command1_Click() {
    try {
        const std::string file = selectedFile();
        if (file.empty()) throw RunError(err::BadFileName);
        wizard_.readPlugIn(File1->path(), file);
    } catch (const RunError& e) {
        showError("An error occured while reading the file.\r\n" + e.description(), e.number());
        return;
    }
    close();
}

void Form2::Command2_Click() { close(); }

} // namespace kx::addonsmith
