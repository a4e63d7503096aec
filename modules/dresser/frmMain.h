#pragma once
// "choosing skin...": the skin folders of korvex.wfd/skins with each one's skininfo.ini, and
// the two lines of korvex.cfg that the launcher reads at its next start: usedskinis ("Apply")
// and randomskin (the toggle). Nothing is applied here.

#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kx::dresser {

// The lines of a skininfo.ini that are shown: all but the ";" comments, each followed by a
// line break.
std::string shownInfo(const std::vector<std::string>& lines);

inline constexpr const char* EnableRandom = "Enable Random Skins";
inline constexpr const char* DisableRandom = "Disable Random Skins";

class frmMain : public QWidget {
    Q_OBJECT
public:
    // commandLine: the module's whole command line, the game directory.
    explicit frmMain(std::string commandLine, QWidget* parent = nullptr);

    // Start check, the skin list, the first skin shown. Ends the program through the platform
    // when the command line is refused.
    void Form_Load();
    void List1_Click();
    void Command1_Click(); // "Enable Random Skins" / "Disable Random Skins"
    void Command2_Click(); // "Apply"
    void Command3_Click(); // "Cancel"

    const std::string& korvexDir() const { return korvexDir_; }

    QListWidget* List1;
    QPlainTextEdit* Text1;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QLabel* Label1; // "Select Skin"
    QLabel* Label2; // "Skin Information..."

private:
    // Rewrites the key's line of korvex.cfg; false (reported) when that failed or found no line.
    bool rewrite(const std::string& key, const std::string& value);

    std::string commandLine_;
    std::string korvexDir_;
    // The listed names as read from the disk: a widget's text would not give back every byte.
    std::vector<std::string> names_;
    // The row whose description Text1 shows, -1 for none.
    int shownIndex_ = -1;
};

} // namespace kx::dresser
