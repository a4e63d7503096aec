#include "frmServerModule.h"

#include "GameServer.h"
#include "Helpers.h"
#include "ModuleState.h"
#include "TextControls.h"

#include "platform/Platform.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kx::arenawarden {

namespace {

class Busy {
public:
    explicit Busy(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Busy() { flag_ = was_; }

private:
    bool& flag_;
    bool was_;
};

template <class F>
void guarded(F&& f) {
    // An event handler must not let a run error escape into the event loop.
    try {
        f();
    } catch (const RunError& e) {
        ShowTaskError(e.description(), e.number());
    }
}

QLineEdit* timeBox(const char* name) {
    auto* t = new LimitedTextBox;
    t->setObjectName(name);
    t->setReadOnly(true);
    return t;
}

} // namespace

frmServerModule::frmServerModule() {
    setWindowTitle(QStringLiteral("ZIV. Dedicated Server Module v2"));
    setObjectName("frmServerModule");
    setFont(namedFont("Verdana", 8));

    List1 = new QListWidget(this);
    List1->setObjectName("List1");
    List1->hide();

    Text2 = timeBox("Text2");
    Text3 = timeBox("Text3");
    Text4 = timeBox("Text4");
    Text5 = timeBox("Text5");
    Text6 = timeBox("Text6");

    auto* maps = new QGridLayout;
    int row = 0;
    for (auto [caption, box] : {std::pair{"active map :", Text2}, {"next map : ", Text3}, {"Started :", Text4},
                                {"Now : ", Text5}, {"Next Cycle : ", Text6}}) {
        maps->addWidget(plainLabel(QString::fromLatin1(caption)), row, 0);
        maps->addWidget(box, row, 1);
        ++row;
    }

    Frame3 = new QGroupBox(QStringLiteral("Frame3"));
    Frame3->setObjectName("Frame3");
    lblMaxPlayers = plainLabel(QStringLiteral("#player count"));
    lblMaxPlayers->setObjectName("lblMaxPlayers");
    lblGameType = plainLabel(QStringLiteral("#gametype"));
    lblGameType->setObjectName("lblGameType");
    lblCycleCount = plainLabel(QStringLiteral("#cycling map"));
    lblCycleCount->setObjectName("lblCycleCount");
    auto* info = new QVBoxLayout(Frame3);
    info->addWidget(lblMaxPlayers);
    info->addWidget(lblGameType);
    info->addWidget(lblCycleCount);

    Frame1 = new QGroupBox(QStringLiteral("status"));
    Frame1->setObjectName("Frame1");
    Text1 = new TextBox;
    Text1->setObjectName("Text1");
    (new QVBoxLayout(Frame1))->addWidget(Text1);

    Command1 = new QPushButton(QStringLiteral("start cycling"));
    Command1->setObjectName("Command1");
    Command2 = new QPushButton(QStringLiteral("kill server"));
    Command2->setObjectName("Command2");
    Command3 = new QPushButton(QStringLiteral("exit"));
    Command3->setObjectName("Command3");
    Check1 = new QCheckBox(QStringLiteral("Kill server on exit."));
    Check1->setObjectName("Check1");
    setCheckValue(Check1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    buttons->addStretch();
    buttons->addWidget(Check1);

    auto* top = new QHBoxLayout;
    top->addLayout(maps, 3);
    top->addWidget(Frame3, 2);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(Frame1, 1);
    all->addLayout(buttons);
    resize(640, 420);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(100);

    connect(Command1, &QPushButton::clicked, this, [this] { guarded([this] { Command1_Click(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { guarded([this] { Command2_Click(); }); });
    connect(Command3, &QPushButton::clicked, this, [this] { guarded([this] { Command3_Click(); }); });
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1_Timer(); }); });
}

frmServerModule::~frmServerModule() { windowUnloaded(this); }

void frmServerModule::log(const std::string& line) { AppendLine(Text1, line); }

void frmServerModule::Form_Load() {
    log("ZIV started...");
    Timer1->start();
}

void frmServerModule::Command1_Click() {
    Busy busy(busy_);
    if (Command1->text() == QStringLiteral("start cycling")) Command1->setText(QStringLiteral("force cycling"));
    log("Checking MapList...");
    if (listIndex(List1) == List1->count() - 1) selectListIndex(List1, -1);
    selectListIndex(List1, listIndex(List1) + 1);

    log("Refresh Maps...");
    const int active = listIndex(List1);
    Text2->setText(toUi(listText(List1, active)));
    Text2->repaint();
    Text3->setText(toUi(listText(List1, active + 1)));

    log("Calculate Times...");
    state().activeMap = fromUi(Text2->text());
    Text4->setText(QString::fromStdString(dateTimeText(platform().now())));
    cycleEnd_ = CycleEndTime(toInt16(state().cycleMinutes));
    Text6->setText(QString::fromStdString(dateTimeText(cycleEnd_)));

    log("Initialize Cycle...");
    CycleServer();
}

void frmServerModule::CycleServer() {
    Busy busy(busy_);
    log("Sending Kill!...");
    try {
        KillWindowsByTitle(DedicatedServerTitle);
    } catch (const RunError&) {
        // Closing reports nothing: with no server window the new one simply starts.
    }
    try {
        platform().setCurrentDir(state().korvexDir);
        log("Prepare Run!...");
        StartServer(state().serverPlayers, state().serverName, state().activeMap, state().serverGameType);
        log(CRLF);
    } catch (const RunError& e) {
        ShowTaskError(e.description(), e.number());
    }
}

void frmServerModule::Command2_Click() {
    Busy busy(busy_);
    log(std::string("Forced Kill!...") + CRLF);
    KillWindowsByTitle(DedicatedServerTitle);
    Command1->setText(QStringLiteral("start cycling"));
}

void frmServerModule::Command3_Click() {
    Busy busy(busy_);
    if (checkValue(Check1) == 1) KillWindowsByTitle(DedicatedServerTitle);
    // This window and its timer go first, so that a hand-over that the new configuration
    // window finds at its load is launched into a running-server window of its own.
    unload();
    showCfgServ();
}

void frmServerModule::Timer1_Timer() {
    if (busy_ || unloaded_) return;
    Busy busy(busy_);
    const QDateTime now = platform().now();
    // The text changes once a second, the timer ticks ten times: only a new text is drawn.
    const QString nowText = QString::fromStdString(dateTimeText(now));
    if (Text5->text() != nowText) {
        Text5->setText(nowText);
        Text5->repaint();
    }
    // The first tick at or after the end fires, once: the next cycle's end lies ahead again.
    if (cycleEnd_.isValid() && now >= cycleEnd_) {
        log("Timelimit reached...");
        Command1_Click();
    }
    if (Text3->text().isEmpty()) Text3->setText(toUi(listText(List1, listIndex(List1) + 1)));
}

void frmServerModule::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    Timer1->stop();
    hide();
    windowUnloaded(this);
    deleteLater();
}

void frmServerModule::closeEvent(QCloseEvent* e) {
    // The close box runs no step of the module: the game server keeps running.
    e->accept();
    unload();
    endWhenNoWindowLeft();
}

} // namespace kx::arenawarden
