#include "frmLoadListDialog.h"

#include "ModuleState.h"
#include "frmCfgServ.h"

#include "core/Files.h"
#include "platform/Platform.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/Ui.h"
#include "shared/widgets/FileControls.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kx::arenawarden {

frmLoadListDialog::frmLoadListDialog(frmCfgServ* owner) : QDialog(owner), owner_(owner) {
    setObjectName("frmLoadListDialog");
    setWindowTitle(QStringLiteral("load a rotation list..."));
    setModal(false);
    setFont(namedFont("Verdana", 8));

    File1 = new FileListBox;
    File1->setObjectName("File1");
    File1->setShowHidden(true);
    // Only the lists it can load: a name that holds a path is left out.
    File1->setNameRule([](const std::string& name) { return isUsableDiskName(name, false); });
    OKButton = new QPushButton(QStringLiteral("&ok"));
    OKButton->setObjectName("OKButton");
    OKButton->setEnabled(false);
    OKButton->setAutoDefault(false);
    CancelButton = new QPushButton(QStringLiteral("&cancel"));
    CancelButton->setObjectName("CancelButton");
    CancelButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* all = new QVBoxLayout(this);
    all->addWidget(File1, 1);
    all->addLayout(buttons);
    resize(320, 280);

    connect(File1, &QListWidget::itemClicked, this, [this] { File1_Click(); });
    // A selection moved by keys counts as a click.
    connect(File1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!File1->selectedItems().isEmpty()) File1_Click();
    });
    connect(File1, &QListWidget::itemDoubleClicked, this, [this] { File1_DblClick(); });
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
    // Return loads the chosen list (once "&ok" is enabled), Escape is "&cancel".
    setDialogKeys(this, OKButton, CancelButton);
}

void frmLoadListDialog::Form_Load() {
    File1->setPattern("*.nfo");
    File1->setPath(resolvePath(state().korvexDir, "korvex.wfd/config/cyclelists"));
}

void frmLoadListDialog::File1_Click() { OKButton->setEnabled(true); }

void frmLoadListDialog::File1_DblClick() { OKButton_Click(); }

void frmLoadListDialog::OKButton_Click() {
    frmCfgServ* w = owner_.data();
    if (w) {
        try {
            const std::string name = File1->fileName();
            // A listed name is used as it is; only one that holds a path is refused.
            if (!isUsableDiskName(name, false)) throw RunError(err::BadFileName);
            // Read whole before the rotation list is touched: a file that cannot be read
            // leaves it as it was, and no file stays open.
            const auto lines = readLines(resolvePath(state().korvexDir, "korvex.wfd/config/cyclelists/" + name));
            w->List2->clear();
            for (const auto& l : lines) addListText(w->List2, l);
            selectListIndex(w->List2, 0);
        } catch (const RunError& e) {
            platform().msgBox("An error occured while reading the cyclelist.\rErrorcode: (" +
                                  numText(static_cast<long long>(e.number())) + " )",
                              box::Exclamation, "error.");
        }
    }
    unload();
}

void frmLoadListDialog::CancelButton_Click() { unload(); }

void frmLoadListDialog::reject() { unload(); }

void frmLoadListDialog::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    hide();
    deleteLater();
}

} // namespace kx::arenawarden
