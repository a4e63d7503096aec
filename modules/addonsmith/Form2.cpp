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
    Command1 = named(new QPushButton("&Load", this), "Command1");
    Command2 = named(new QPushButton("&Cancel", this), "Command2");
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
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
    // The list shows names for the eye; the name on disk is taken from the same listing, so a
    // UTF-8 name is opened as it is spelt there.
    const int row = listIndex(File1);
    if (row < 0) return "";
    const auto names = listFiles(File1->path(), File1->pattern());
    return static_cast<size_t>(row) < names.size() ? names[static_cast<size_t>(row)] : std::string();
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
