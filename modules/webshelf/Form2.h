#pragma once
// The link library window: a narrow window with the title label, the tree of link folders
// and links, and the first-start note over the tree.

#include <QWidget>

#include <string>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kx {
class CommandLabel;
}

namespace kx::webshelf {

inline constexpr int VersionMajor = 1, VersionMinor = 0, VersionRevision = 5;

class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(std::string commandLine, QWidget* parent = nullptr);

    CommandLabel* Label1;    // "Quellfort Link Library"; a double click (or Return, Space) rolls the window
    QTreeWidget* TreeView1;
    QListWidget* RefHTTPList; // hidden: one row per tree node, in the order they were added
    QFrame* Picture1;        // the first-start note
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* Command1;   // "Ok"

    // Checks the command line (the program ends on a bad one), the note, caption, place, tree.
    void Form_Load();
    // Reads the file into the tree and the list; a file that cannot be read gives an empty
    // tree and a box.
    void ParseWebshelf(const std::string& path);
    void TreeView1_NodeClick(QTreeWidgetItem* node);
    void Label1_DblClick();
    void Command1_Click();

    bool rolledUp() const { return rolledUp_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::string commandLine_;
    bool rolledUp_ = false;
    bool noteShown_ = false; // the note is up (it comes back when the window rolls down)
};

// Opens a target through the shell unless it is "void" (a folder's row); the result is ignored.
void OpenLink(const std::string& target);

} // namespace kx::webshelf
