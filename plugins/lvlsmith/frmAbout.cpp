#include "frmAbout.h"

#include "mdlModule.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace kx::lvlsmith {

namespace {
const char* const kNotice = "LevelForge changes only the files of the level folder you choose. It keeps the "
                            "level's old data file as data1.bak; keep a copy of your levels all the same.";
}

frmAbout::frmAbout(QWidget* mainWindow) : QDialog(mainWindow), mainWindow_(mainWindow) {
    setObjectName("frmAbout");
    setModal(false);
    picIcon = named(new QLabel(this), "picIcon");
    lblTitle = named(plainLabel("", this), "lblTitle");
    lblTitle->setFont(namedFont("Verdana", 12, true));
    lblVersion = named(plainLabel("", this), "lblVersion");
    lblDescription = named(plainLabel("", this), "lblDescription");
    lblDescription->setWordWrap(true);
    lblDisclaimer = named(plainLabel("", this), "lblDisclaimer");
    lblDisclaimer->setWordWrap(true);
    cmdOK = named(new QPushButton("OK", this), "cmdOK");
    cmdSysInfo = named(new QPushButton("&Systeminfo...", this), "cmdSysInfo");
    auto* g = new QGridLayout(this);
    g->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
    g->addWidget(lblTitle, 0, 1, 1, 2);
    g->addWidget(lblVersion, 1, 1, 1, 2);
    g->addWidget(lblDescription, 2, 1, 1, 2);
    g->addWidget(lblDisclaimer, 3, 0, 1, 2);
    g->addWidget(cmdOK, 3, 2);
    g->addWidget(cmdSysInfo, 4, 2);
    resize(twips(5730), twips(3900));
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(); });
    // "OK" is the default button; Escape does what it does.
    setDialogKeys(this, cmdOK, cmdOK);
}

void frmAbout::Form_Load() {
    if (mainWindow_) picIcon->setPixmap(mainWindow_->windowIcon().pixmap(32, 32));
    setWindowTitle(toUi(std::string("Info zu ") + kTitle));
    lblVersion->setText(toUi("Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
                             std::to_string(kVersionRevision)));
    lblTitle->setText(toUi(kTitle));
    lblDescription->setText(toUi(kDescription));
    lblDisclaimer->setText(toUi(kNotice));
}

void frmAbout::cmdOK_Click() { close(); }

bool frmAbout::GetKeyValue(Hive KeyRoot, const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal) {
    RegKey key = 0;
    if (platform().regOpenKey(KeyRoot, KeyName, key) != reg::Success) {
        KeyVal.clear();
        return false;
    }
    std::uint32_t type = 0;
    std::string data;
    const long status = platform().regQueryValue(key, SubKeyRef, type, data);
    platform().regCloseKey(key);
    if (status != reg::Success) {
        KeyVal.clear();
        return false;
    }
    if (type == reg::Sz) {
        if (!data.empty() && data.back() == '\0') data.pop_back();
        KeyVal = data;
    } else if (type == reg::Dword && data.size() == 4) {
        // The number itself: the bytes taken as hexadecimal digits without their leading zeros
        // would run the bytes of a number together.
        std::uint32_t n = 0;
        for (int b = 3; b >= 0; --b) n = (n << 8) | static_cast<unsigned char>(data[size_t(b)]);
        KeyVal = std::to_string(n);
    }
    return true;
}

void frmAbout::StartSysInfo() {
    try {
        std::string path;
        if (GetKeyValue(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path)) {
            platform().startProcess(resolvePath(path), {}, "", win::NormalFocus);
            return;
        }
        if (GetKeyValue(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path)) {
            const std::string folder = resolvePath(path);
            if (dirExists(folder) && !listFiles(folder, "MSINFO32.EXE").empty()) {
                platform().startProcess(resolvePath(folder, "MSINFO32.EXE"), {}, "", win::NormalFocus);
                return;
            }
        }
    } catch (const RunError&) {
    }
    platform().msgBox("Systeminformationen sind momentan nicht verf\xfcgbar", 0, kTitle);
}

} // namespace kx::lvlsmith
