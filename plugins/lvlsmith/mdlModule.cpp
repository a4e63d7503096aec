#include "mdlModule.h"

#include "frmMain.h"

#include "core/Files.h"
#include "core/Text.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QPushButton>
#include <QLocale>

namespace kx::lvlsmith {

QIcon levelAideIcon() { return QIcon(QStringLiteral(":/levelaide/levelaide.png")); }

QPixmap welcomePicture() { return QPixmap(QStringLiteral(":/levelaide/wizpic0.png")); }

std::string IntToText(std::int16_t n) { return numTextTrimmed(n); }

void ShowErrorBox(const std::string& message, int number) {
    platform().msgBox(std::string("An error occured performing the specified task.") + CRLF + message + "," +
                          numText(static_cast<long long>(number)),
                      48, "Error.");
}

void ShowInfoBox(const std::string& message) { platform().msgBox(message, 0, "Information."); }

std::string MakeDateStamp() {
    const QDateTime now = platform().now();
    std::string stamp = shortDate(now.date()) + " " + timeStamp(now, "HH:mm:ss");
    for (char& c : stamp) {
        if (c == '/' || c == ':' || c == '\\' || c == ',' || c == '.') c = '-';
        platform().doEvents();
    }
    return stamp;
}

std::vector<std::string> jobFileLines(const std::string& levelFolder) {
    const bool drive = levelFolder.size() >= 2 && levelFolder[1] == ':';
    return {"@echo off",
            "cls",
            drive ? levelFolder.substr(0, 2) : std::string(),
            "cd " + (drive ? levelFolder.substr(2) : levelFolder),
            "copy /B data1.qfs + /B data1.bin /B data1.new",
            "cls"};
}

void joinDataFiles(const std::string& levelFolder) {
    const std::string joined = readFile(resolvePath(levelFolder, "data1.qfs")) + readFile(resolvePath(levelFolder, "data1.bin"));
    writeWorkFile(resolvePath(levelFolder, "data1.new"), joined);
}

void Main(const std::string& commandLine) {
    // Its boxes carry the assistant's icon too.
    QApplication::setWindowIcon(levelAideIcon());
    auto* form = new frmMain(commandLine);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setWindowTitle("Quellfort - Modding Wizard");
    if (!form->Form_Load()) {
        delete form;
        platform().endProgram(0);
    }
    form->firstStart();
    form->show();
    form->ShowStepPanel();
    form->Command1->setFocus();
}

} // namespace kx::lvlsmith
