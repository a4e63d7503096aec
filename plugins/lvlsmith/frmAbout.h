#pragma once
// The about box: title, version, description and notice, and the system information tool.

#include "platform/Platform.h"

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;

namespace kx::lvlsmith {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* mainWindow);
    void Form_Load();

    QLabel *picIcon, *lblTitle, *lblVersion, *lblDescription, *lblDisclaimer;
    QPushButton *cmdOK, *cmdSysInfo;

    void cmdOK_Click();
    void StartSysInfo();
    // A string value, or a number as its decimal text; false when the key or value cannot be read.
    bool GetKeyValue(Hive KeyRoot, const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal);

private:
    QWidget* mainWindow_;
};

} // namespace kx::lvlsmith
