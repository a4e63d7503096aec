#include "shared/widgets/FileControls.h"

#include "shared/Boxes.h"
#include "core/Files.h"
#include "platform/Platform.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "shared/Ui.h"

#include <QKeyEvent>

namespace kx {

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    refresh();
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) { emit driveChanged(); });
}

void DriveListBox::refresh() {
    const QSignalBlocker block(this);
    const std::string keep = drive();
    clear();
    for (const auto& d : platform().drives()) addComboText(this, d);
    int at = -1;
    for (int i = 0; i < count() && at < 0; ++i)
        if (comboText(this, i) == keep) at = i;
    setCurrentIndex(at >= 0 ? at : (count() ? 0 : -1));
}

std::string DriveListBox::drive() const { return comboText(this, currentIndex()); }

void DriveListBox::setDrive(const std::string& d) {
    for (int i = 0; i < count(); ++i)
        if (equalsNoCase(comboText(this, i), d)) {
            if (i == currentIndex()) emit driveChanged();
            else setCurrentIndex(i);
            return;
        }
    // A drive that is not mounted here: listed, as the platform's list would show a letter.
    addComboText(this, d);
    setCurrentIndex(count() - 1);
}

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
    // A folder that went away since the list was read is reported, and the list read anew;
    // the run error must not escape into the event loop.
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { openEntry(row(item)); });
}

void DirListBox::openEntry(int index) {
    const std::string target = entryPath(index);
    if (target.empty()) return;
    try {
        setPath(target);
    } catch (const RunError& e) {
        showError(e);
        refresh();
    }
}

void DirListBox::keyPressEvent(QKeyEvent* e) {
    const auto mods = e->modifiers() & ~Qt::KeypadModifier;
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
        // Taken here, so a dialog's OK does not press as well.
        e->accept();
        openEntry(currentRow());
        return;
    }
    QListWidget::keyPressEvent(e);
}

void DirListBox::setPath(const std::string& dir) {
    if (!dirExists(dir)) throw RunError(err::PathNotFound);
    std::string p = dir;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    const bool changed = p != path_;
    path_ = p;
    fill();
    if (changed) emit pathChanged();
}

void DirListBox::refresh() { fill(); }

std::string DirListBox::entryPath(int index) const {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return "";
    return entries_[static_cast<size_t>(index)];
}

void DirListBox::fill() {
    clear();
    entries_.clear();
    if (path_.empty()) return;
    // The ancestors from the root down, the folder itself, then its sub-folders.
    std::vector<std::string> chain;
    for (std::string p = path_; !p.empty();) {
        chain.insert(chain.begin(), p);
        if (p == "/") break;
        p = parentDir(p);
    }
    int depth = 0;
    for (const auto& p : chain) {
        const std::string name = p == "/" ? "/" : fileNameOf(p);
        addItem(QString(depth * 2, ' ') + toUi(name));
        entries_.push_back(p);
        ++depth;
    }
    const int current = count() - 1;
    for (const auto& sub : listFolders(path_)) {
        addItem(QString(depth * 2, ' ') + toUi(sub));
        entries_.push_back(joinPath(path_, sub));
    }
    setCurrentRow(current);
}

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {}

void FileListBox::setPath(const std::string& dir) {
    path_ = dir;
    refresh();
}

void FileListBox::setPattern(const std::string& pattern) {
    pattern_ = pattern;
    refresh();
}

void FileListBox::setShowHidden(bool show) {
    hidden_ = show;
    refresh();
}

void FileListBox::setNameRule(std::function<bool(const std::string&)> rule) {
    rule_ = std::move(rule);
    refresh();
}

void FileListBox::refresh() {
    clear();
    if (path_.empty()) return;
    for (const auto& f : listFiles(path_, pattern_, hidden_))
        if (!rule_ || rule_(f)) addListText(this, f);
}

std::string FileListBox::fileName() const {
    const auto* item = currentItem();
    return item && item->isSelected() ? listText(this, row(item)) : std::string();
}

std::vector<std::string> FileListBox::files() const {
    std::vector<std::string> out;
    for (int i = 0; i < count(); ++i) out.push_back(listText(this, i));
    return out;
}

} // namespace kx
