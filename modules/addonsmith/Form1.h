#pragma once
// "Korvex PlugIn Wizard": five fields and four check boxes that become a plug-in description
// file in korvex.wfd/plugins, and "&Load PlugIn" to read one back into them.

#include <QPointer>
#include <QWidget>

#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kx::addonsmith {

class Form2;

class Form1 : public QWidget {
    Q_OBJECT
public:
    // commandLine: the module's whole command line, the game directory.
    explicit Form1(std::string commandLine, QWidget* parent = nullptr);

    // The start check; ends the program through the platform when the command line is refused.
    void Form_Load();
    void Command1_Click(); // "&Quit"
    void Command2_Click(); // "&Write PlugIn"
    void Command3_Click(); // "&Load PlugIn"

    // Validates the form and writes <KorvexDir>/korvex.wfd/plugins/<name>.spi.
    void WritePlugIn();
    // Reads the file folder/fileName into the fields; raises the file's run error.
    void readPlugIn(const std::string& folder, const std::string& fileName);

    const std::string& korvexDir() const { return korvexDir_; }
    bool unloaded() const { return unloaded_; }
    // The "Load a PlugIn" dialog while it is open.
    Form2* loadDialog() const;

    QLabel* Label1; // the heading
    QLabel* Label2; // "Name Your PlugIn"
    QLabel* Label3; // "Author's Name"
    QLabel* Label4; // "PlugIn Version"
    QLabel* Label5; // "Application root"
    QLabel* Label6; // "Application executable file"
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QLineEdit* Text5;
    QGroupBox* Frame1;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QCheckBox* Check3;
    QCheckBox* Check4;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::string commandLine_;
    std::string korvexDir_;
    bool unloaded_ = false;
    // The root and the program as last loaded or corrected: kept while their boxes show them.
    std::string rootBytes_, fileBytes_;
    QPointer<Form2> form2_;
};

} // namespace kx::addonsmith
