#include "frmScripts.h"

#include "frmMain.h"
#include "Scripts.h"

#include "shared/Ui.h"

#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>

namespace kx::quillroom {

frmScripts::frmScripts(frmMain& main) : QWidget(&main, Qt::Window), main_(main) {
    setObjectName("frmScripts");
    setWindowTitle("Choose Script Template...");
    Combo1 = named(new QComboBox(this), "Combo1");
    Command1 = named(new QPushButton("OK", this), "Command1");
    Command2 = named(new QPushButton("Cancel", this), "Command2");
    auto* l = new QGridLayout(this);
    l->addWidget(Combo1, 0, 0, 1, 2);
    l->addWidget(Command1, 1, 0);
    l->addWidget(Command2, 1, 1);
    for (const auto& k : scriptKinds()) Combo1->addItem(QString::fromLatin1(k.chooserText));
    selectComboIndex(Combo1, 0);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    setDialogKeys(this, Command1, Command2);
}

void frmScripts::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Each time it opens the arrow keys move the selection, whatever had the focus last time.
    Combo1->setFocus();
}

void frmScripts::Command1_Click() {
    hide();
    // The editor turns to editing only when the script was made.
    if (main_.NewScriptFromTemplate(Combo1->currentIndex())) main_.SetEditState(0);
}

void frmScripts::Command2_Click() { hide(); }

} // namespace kx::quillroom
