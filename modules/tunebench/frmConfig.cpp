#include "frmConfig.h"

#include "Defaults.h"

#include "shared/ModuleCommandLine.h"
#include "shared/Ui.h"
#include "shared/widgets/KeyScrollBar.h"
#include "shared/widgets/LimitedTextBox.h"
#include "platform/Platform.h"
#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kx::tunebench {

namespace {

QScrollBar* slider(const char* name, int min, int max, int initial, int small, int large) {
    auto* s = named(new KeyScrollBar, name);
    s->setRange(min, max);
    s->setSingleStep(small);
    s->setPageStep(large);
    s->setValue(initial);
    s->setMinimumWidth(160);
    return s;
}

// ShowSliderValue: the value label follows its slider on every change, also while dragging.
void showSliderValue(QScrollBar* s, QLabel* label) {
    QObject::connect(s, &QScrollBar::valueChanged, label, [label](int value) {
        label->setText(toUi(numText(static_cast<long long>(value))));
        label->repaint();
    });
}

void addRow(QGridLayout* grid, const char* caption, QWidget* control, QLabel* value = nullptr) {
    const int row = grid->rowCount();
    grid->addWidget(plainLabel(QString::fromLatin1(caption)), row, 0);
    grid->addWidget(control, row, 1);
    if (value) grid->addWidget(value, row, 2);
}

} // namespace

frmConfig::frmConfig(std::string commandLine, QWidget* parent)
    : QWidget(parent), commandLine_(std::move(commandLine)) {
    setObjectName("frmConfig");
    setWindowTitle("configuring defaults...");

    ScrollFOV = slider("ScrollFOV", 100, 500, 100, 5, 10);
    ScrollVIEWDIST = slider("ScrollVIEWDIST", 100, 2000, 100, 5, 10);
    ScrollMOUSESENS = slider("ScrollMOUSESENS", 1, 13, 1, 5, 10);
    ScrollLATENCY = slider("ScrollLATENCY", 0, 8, 1, 1, 1);
    ScrollMAXDUP = slider("ScrollMAXDUP", 1, 4, 1, 1, 1);
    ScrollMAXRESEND = slider("ScrollMAXRESEND", 0, 40, 0, 1, 1);
    SettingsFov = named(plainLabel(), "SettingsFov");
    SettingsViewDist = named(plainLabel(), "SettingsViewDist");
    SettingsMousesens = named(plainLabel(), "SettingsMousesens");
    SettingsLatency = named(plainLabel(), "SettingsLatency");
    SettingsMaxDup = named(plainLabel(), "SettingsMaxDup");
    SettingsMaxResend = named(plainLabel(), "SettingsMaxResend");
    for (QLabel* l : {SettingsFov, SettingsViewDist, SettingsMousesens, SettingsLatency, SettingsMaxDup,
                      SettingsMaxResend})
        l->setMinimumWidth(40);
    TextSCORELIMIT = named(textBox("0"), "TextSCORELIMIT");
    TextFRAGLIMIT = named(textBox("0"), "TextFRAGLIMIT");
    TextTIMELIMIT = named(textBox("0"), "TextTIMELIMIT");
    CheckNEXTMAP = named(new QCheckBox("Nextmap"), "CheckNEXTMAP");
    CheckNETTEST = named(new QCheckBox("Nettest"), "CheckNETTEST");
    CheckFRAMERATE = named(new QCheckBox("Framerate display"), "CheckFRAMERATE");
    Combo1 = named(new QComboBox, "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert); // typed text never becomes an entry
    // Only an entry chosen from the list applies a preset. Qt's completer would turn one typed
    // letter into a whole entry, and the box, when its edit field is left holding an entry's
    // text, makes that entry current and reports it as chosen: both go.
    Combo1->setCompleter(nullptr);
    QObject::disconnect(Combo1->lineEdit(), &QLineEdit::editingFinished, Combo1, nullptr);
    Command11 = named(new QPushButton("&ok"), "Command11");
    Command12 = named(new QPushButton("&cancel"), "Command12");

    showSliderValue(ScrollFOV, SettingsFov);
    showSliderValue(ScrollVIEWDIST, SettingsViewDist);
    showSliderValue(ScrollMOUSESENS, SettingsMousesens);
    showSliderValue(ScrollLATENCY, SettingsLatency);
    showSliderValue(ScrollMAXDUP, SettingsMaxDup);
    showSliderValue(ScrollMAXRESEND, SettingsMaxResend);

    auto* client = new QGroupBox("Clientside options");
    auto* clientGrid = new QGridLayout(client);
    addRow(clientGrid, "Field of View", ScrollFOV, SettingsFov);
    addRow(clientGrid, "Viewdist", ScrollVIEWDIST, SettingsViewDist);
    addRow(clientGrid, "Mousesens", ScrollMOUSESENS, SettingsMousesens);
    auto* server = new QGroupBox("Serverside options");
    auto* serverGrid = new QGridLayout(server);
    addRow(serverGrid, "Latency", ScrollLATENCY, SettingsLatency);
    addRow(serverGrid, "Scorelimit", TextSCORELIMIT);
    addRow(serverGrid, "Fraglimit", TextFRAGLIMIT);
    addRow(serverGrid, "Timelimit", TextTIMELIMIT);
    serverGrid->addWidget(CheckNEXTMAP, serverGrid->rowCount(), 0, 1, 3);
    auto* net = new QGroupBox("Netcode and debugging");
    auto* netGrid = new QGridLayout(net);
    addRow(netGrid, "Maxdup", ScrollMAXDUP, SettingsMaxDup);
    addRow(netGrid, "Maxresend", ScrollMAXRESEND, SettingsMaxResend);
    netGrid->addWidget(CheckNETTEST, netGrid->rowCount(), 0, 1, 3);
    netGrid->addWidget(CheckFRAMERATE, netGrid->rowCount(), 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command11);
    buttons->addWidget(Command12);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(client);
    outer->addWidget(server);
    outer->addWidget(net);
    outer->addWidget(plainLabel("Load a predefined configuration setup..."));
    outer->addWidget(Combo1);
    outer->addLayout(buttons);

    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo1_Change(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Command12, &QPushButton::clicked, this, [this] { Command12_Click(); });
    // Escape is "&cancel"; Return is "&ok" unless a button has the focus.
    setDialogKeys(this, Command11, Command12);
}

void frmConfig::Form_Load() {
    const auto dir = checkModuleCommandLine(commandLine_, ModuleCheck{false, false});
    if (!dir) platform().endProgram(0);
    korvexDir_ = *dir;
    for (const auto& p : connectionPresets()) Combo1->addItem(toUi(p.text));
    selectComboIndex(Combo1, 0);
    Combo1_Click();
}

void frmConfig::ApplyConnectionPreset(int position) {
    const auto& presets = connectionPresets();
    if (position < 0 || position >= static_cast<int>(presets.size())) return;
    const ConnectionPreset& p = presets[static_cast<size_t>(position)];
    ScrollFOV->setValue(p.fov);
    ScrollVIEWDIST->setValue(p.viewdist);
    ScrollMOUSESENS->setValue(p.mousesens);
    ScrollLATENCY->setValue(p.latency);
    ScrollMAXDUP->setValue(p.maxdup);
    ScrollMAXRESEND->setValue(p.maxresend);
    TextSCORELIMIT->setText("0");
    TextFRAGLIMIT->setText("0");
    TextTIMELIMIT->setText("0");
    setCheckValue(CheckNEXTMAP, 0);
    setCheckValue(CheckNETTEST, p.nettest);
    setCheckValue(CheckFRAMERATE, p.framerate);
}

void frmConfig::Combo1_Click() { ApplyConnectionPreset(Combo1->currentIndex()); }

// Typed text is no entry of the list: as with no selection, nothing is applied. Qt keeps the
// last chosen index while the user types, which would otherwise re-apply that preset over
// the user's own values at every key.
void frmConfig::Combo1_Change() { ApplyConnectionPreset(-1); }

std::vector<std::string> frmConfig::configLines() const {
    DefaultsText d;
    d.fov = fromUi(SettingsFov->text());
    d.viewdist = fromUi(SettingsViewDist->text());
    d.mousesens = fromUi(SettingsMousesens->text());
    d.latency = fromUi(SettingsLatency->text());
    d.maxdup = fromUi(SettingsMaxDup->text());
    d.maxresend = fromUi(SettingsMaxResend->text());
    d.scorelimit = fromUi(TextSCORELIMIT->text());
    d.fraglimit = fromUi(TextFRAGLIMIT->text());
    d.timelimit = fromUi(TextTIMELIMIT->text());
    d.nextmap = checkValue(CheckNEXTMAP);
    d.nettest = checkValue(CheckNETTEST);
    d.framerate = checkValue(CheckFRAMERATE);
    return defaultCfgLines(d);
}

void frmConfig::Command11_Click() {
    try {
        // A temporary file renamed over the old one: a failed write leaves the old file whole.
        writeLinesAtomic(defaultCfgPath(korvexDir_), configLines());
    } catch (const RunError& e) {
        platform().msgBox("an error occured while wirting to the file.\r\nunnormal program termination... (" +
                              numText(static_cast<long long>(e.number())) + " )",
                          box::Critical, "Critical error");
        close();
        return;
    }
    platform().msgBox("your default.cfg was successful written to\r\n" + korvexDir_, box::Information, "Info...");
    close();
}

void frmConfig::Command12_Click() { close(); }

void frmConfig::closeEvent(QCloseEvent* event) {
    // The module's only window: unloading it ends the module.
    unloaded_ = true;
    event->accept();
}

} // namespace kx::tunebench
