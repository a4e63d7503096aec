#include "frmAbout.h"

#include "shared/Ui.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kx::quillroom {

frmAbout::frmAbout(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName("frmAbout");
    setWindowTitle("about...");
    Picture1 = named(new QLabel(this), "Picture1");
    Picture1->setPixmap(suiteIcon().pixmap(48, 48));
    Label1 = named(plainLabel("Korvex DudoziRezud", this), "Label1");
    Command1 = named(new QPushButton("&Ok", this), "Command1");
    auto* l = new QVBoxLayout(this);
    l->addWidget(Picture1, 0, Qt::AlignHCenter);
    l->addWidget(Label1, 0, Qt::AlignHCenter);
    l->addWidget(Command1);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    setDialogKeys(this, Command1, Command1);
}

void frmAbout::Command1_Click() { close(); }

} // namespace kx::quillroom
