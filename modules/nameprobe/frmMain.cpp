#include "frmMain.h"

#include "core/Text.h"
#include "shared/Ui.h"
#include "shared/widgets/LimitedTextBox.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kx::nameprobe {

frmMain::frmMain(QWidget* parent) : QWidget(parent) {
    setObjectName("frmMain");
    setWindowTitle("joiner dns lookup");
    setFont(namedFont("Verdana", 8));
    // The host name comes from the command line: shown as plain text.
    Label1 = plainLabel();
    Label1->setObjectName("Label1");
    Label2 = plainLabel("Reported Ip:");
    Label2->setObjectName("Label2");
    Text1 = new LimitedTextBox;
    Text1->setObjectName("Text1");
    Command1 = new QPushButton("Close");
    Command1->setObjectName("Command1");

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Text1, 1, 1);
    grid->addWidget(Command1, 2, 1, Qt::AlignRight);

    // Wide enough for a usual host name; a longer one is cut to the label's width.
    resize(twips(5400), sizeHint().height());

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    // Escape is "Close"; there is no OK.
    setDialogKeys(this, nullptr, Command1);
}

void frmMain::showQuery(const std::string& host) {
    // The host name is the whole command line, of any length: a bounded label.
    setShownLabel(Label1, toUi("Query for DNS : '" + host + "'..."));
}

void frmMain::Command1_Click() { close(); }

void frmMain::closeEvent(QCloseEvent* event) {
    // The window is the program: closing it, by "Close" or otherwise, ends the program.
    unloaded_ = true;
    event->accept();
}

} // namespace kx::nameprobe
