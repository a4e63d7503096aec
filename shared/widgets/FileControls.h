#pragma once
// The drive, folder and file list controls that several windows are built from. They follow
// each other only through their owners' handlers, as the windows describe: a drive change moves
// the folder list, a folder change moves the file list.

#include <QComboBox>
#include <QListWidget>

#include <functional>
#include <string>

namespace kx {

// The mount roots of the platform ("/" first). drive() is the chosen entry's text.
class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget* parent = nullptr);
    std::string drive() const;
    // Selects the entry equal to d (ignoring case), adding it when it is not listed, and emits
    // driveChanged; whether the drive can be read is for the owner's change handler to find.
    void setDrive(const std::string& d);
    void refresh();
signals:
    void driveChanged();
};

// A folder list: its path is the folder opened (double click, Return or Enter on the highlighted
// entry, or setPath), never merely the one highlighted. Opening a folder that cannot be opened
// shows ShowError's box. Lists the path's ancestors, the path itself, then its sub-folders
// ("."-folders left out, case-insensitive order).
class DirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);
    const std::string& path() const { return path_; }
    // Opens dir; raises run error 76 when it is not a folder. Emits pathChanged when it changes.
    void setPath(const std::string& dir);
    // Re-reads the sub-folders of path (a folder created since is listed).
    void refresh();
    // The folder an entry stands for ("" outside the list).
    std::string entryPath(int index) const;
signals:
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void openEntry(int index);
    void fill();
    std::string path_;
    std::vector<std::string> entries_;
};

// The regular files of path matching pattern (ignoring case; "*.*" every file), in
// case-insensitive name order; hidden files only when asked.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);
    const std::string& path() const { return path_; }
    const std::string& pattern() const { return pattern_; }
    void setPath(const std::string& dir);
    void setPattern(const std::string& pattern);
    void setShowHidden(bool show);
    // Lists only the names the rule takes: the rule of the kind of name the list shows, shared
    // with the code that opens it, so that every listed file can be used.
    void setNameRule(std::function<bool(const std::string&)> rule);
    void refresh();
    // The selected file's name, "" when none.
    std::string fileName() const;
    // The file names as listed.
    std::vector<std::string> files() const;

private:
    std::string path_, pattern_ = "*.*";
    bool hidden_ = false;
    std::function<bool(const std::string&)> rule_;
};

} // namespace kx
