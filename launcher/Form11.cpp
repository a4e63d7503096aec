#include "Form11.h"

#include "AutoExec.h"
#include "Form1.h"
#include "Launcher.h"
#include "PlugIns.h"
#include "ScreenShots.h"
#include "Skins.h"
#include "WebSites.h"
#include "config.h"

#include "core/Files.h"
#include "core/KeyPrefix.h"
#include "shared/KorvexConfig.h"
#include "platform/Platform.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>
#include <QTimer>

namespace kx::launcher {

Form11::Form11(QWidget* parent) : QWidget(parent) {
    setObjectName("Form11");
    setWindowTitle(toUi(AppTitle));
    setWindowFlags(Qt::SplashScreen);
    setFixedSize(twips(6000), twips(3600));

    Picture1 = plainLabel(QString(), this);
    Picture1->setObjectName("Picture1");
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setPixmap(QPixmap(QStringLiteral(":/launcher/splash.png")));
    Picture1->setAccessibleName(toUi(AppTitle));
    Label1 = plainLabel("Loading and configuring...", this);
    Label1->setObjectName("Label1");
    Label2 = plainLabel("registered to", this);
    Label2->setObjectName("Label2");
    ReggedUser = plainLabel(QString(), this);
    ReggedUser->setObjectName("ReggedUser");
    Label3 = plainLabel(QString(), this);
    Label3->setObjectName("Label3");

    // The picture spans the window's top edge to edge; the texts sit below it.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(Picture1);
    auto* layout = new QGridLayout;
    layout->setContentsMargins(11, 6, 11, 6);
    layout->setSpacing(6);
    outer->addLayout(layout, 1);
    layout->addWidget(Label1, 0, 0, 1, 2);
    layout->addWidget(Label2, 1, 0);
    layout->addWidget(ReggedUser, 1, 1);
    layout->addWidget(Label3, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &Form11::Timer1_Timer);
    Timer1->start();
}

void Form11::setStatus(const std::string& text) {
    // Bounded like the name: a status can be a value (the game directory).
    setShownLabel(Label3, toUi(text));
    Label3->repaint();
}

bool isDriveRoot(const std::string& dir) {
    if (dir.size() != 3) return false;
    const char letter = dir[0];
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return isLetter && dir[1] == ':' && (dir[2] == '\\' || dir[2] == '/');
}

void Form11::Timer1_Timer() {
    // The pauses and yields below let further ticks through; the loader runs once.
    if (loaderStarted_) return;
    loaderStarted_ = true;
    Timer1->stop();

    auto& s = state();
    setKorvexDir(platform().currentDir());
    const QDateTime now = platform().now();
    writeLog("");
    // The date with Latin digits in any regional format, never a row of "?".
    writeLog("KORVEX3.1 Launched..... " + timeStamp(now, QStringLiteral("HH:mm:ss")) + " :: " +
             timeStamp(now, QStringLiteral("yyyy-MM-dd")));
    writeLog("$KorvexDir == " + s.korvexDir);

    setStatus(s.korvexDir);
    platform().sleepMs(300);

    try {
        loadConfiguration();
        setGlobals();

        writeLog("Retreiving PlugIns...");
        fillPlugInMenu(PlugInFill::StartUp);

        writeLog("Start Docklet Extension...");
        moduleStart("docklet");

        setStatus("adding websites...");
        platform().sleepMs(100);
        writeLog("Executing LoadWebSites()...");
        loadWebSites(1);

        if (s.autosnapbu == "true") {
            writeLog("Executing BackUpScreenShots()...");
            setStatus("screenshot automatic backup...");
            platform().sleepMs(300);
            setStatus(backUpScreenShots(true));
            platform().sleepMs(300);
        }

        if (lcase(s.doautoexec) == "true") {
            writeLog("Executing ParseAutoExec()...");
            setStatus("parsing autoexec.ini...");
            platform().sleepMs(200);
            parseAutoExec(1);
        }

        setStatus("preparing mainscreen...");
        platform().sleepMs(150);
        writeLog("Status: Ready for Mainscreen reached.");

        setStatus("preparing mainscreen skin...");
        platform().sleepMs(150);
        writeLog("Executing ApplySkin()");
        writeLog(">> Skin == " + s.usedskinis);
        applySkin(s.usedskinis);

        if (lcase(s.randomskin) == "true") {
            setStatus("preparing random skin...");
            platform().sleepMs(150);
            writeLog("Executing ApplyRandomSkin()");
            applyRandomSkin();
        }

        writeLog("Status: Loading finished. Starting MainApplication.");
        writeLog(std::string(51, '-'));
        form1().show();
        unloadForm11();
    } catch (const RunError& e) {
        errorPath(e);
    }
}

void Form11::loadConfiguration() {
    auto& s = state();
    // Read whole and closed at once, so that no yield below runs with the file open.
    const auto lines = readLines(configPath(s.korvexDir));
    writeLog("Open Configuration file...");
    setStatus("open configuration...");
    platform().sleepMs(100);

    config& cfg = configForm();
    const auto& keys = configKeys();
    forEachKeyLine(lines, keyRule(10), keys, [&](size_t k, const std::string& value) {
        const std::string& key = keys[k];
        if (QLabel* label = cfg.labelFor(key)) setCaption(label, value);
        else if (key == cfgkey::AutoSnap) s.autosnapbu = value;
        else if (key == cfgkey::DoAutoexec) s.doautoexec = value;
        else if (key == cfgkey::UsedSkin) s.usedskinis = value;
        else if (key == cfgkey::RandomSkin) s.randomskin = value;
        if (key == cfgkey::PlayerName) {
            // Bounded: the label's size never depends on the name, however long it is.
            setShownLabel(ReggedUser, cfg.lblPlayerName->text());
            ReggedUser->repaint();
            writeLog("Registered User == " + caption(cfg.lblPlayerName));
            platform().doEvents();
        }
    });

    writeLog("Closing Configuration File...");
    setStatus("writing globals...");
    platform().sleepMs(100);
    writeLog("Writing Globals to memory...");
}

void Form11::setGlobals() {
    auto& s = state();
    config& cfg = configForm();
    s.gameDir = s.korvexDir;
    s.snapShotDir = caption(cfg.lblSnapShotDir);
    // Only a drive root such as "C:\" loses its separator; other three-character folders stay.
    if (isDriveRoot(s.snapShotDir)) {
        s.snapShotDir = s.snapShotDir.substr(0, 2);
        writeLog(">> $SnapShotDir is a Root. Shortening to Drive.");
    }
    writeLog("$SnapShotDir == " + s.snapShotDir);
    s.gameSpyFile = caption(cfg.lblGameSpyDir);
    writeLog("$GameSpyFile == " + s.gameSpyFile);
}

void Form11::errorPath(const RunError& e) {
    writeLog("ERROR!");
    writeLog(">> " + e.description());
    writeLog(">>" + numText(static_cast<long long>(e.number())));
    hide();
    showBox("Korvex was unable to find the configuration file. Korvex Setup will be run now.\r\n"
            "Program halted.\r\n\r\n" +
                e.description() + "," + numText(static_cast<long long>(e.number())),
            box::OkOnly + box::Exclamation, "error.");
    moduleStart("prepdesk");
    unloadForm11();
    if (Form1* main = loadedForm1()) main->Form_Unload();
    platform().endProgram(0);
}

} // namespace kx::launcher
