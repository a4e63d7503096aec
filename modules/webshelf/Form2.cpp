#include "Form2.h"

#include "Webshelf.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/Boxes.h"
#include "shared/KorvexConfig.h"
#include "shared/ModuleCommandLine.h"
#include "shared/Ui.h"
#include "shared/widgets/CommandLabel.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kx::webshelf {

namespace {
constexpr int WidthTwips = 3200, HeightTwips = 6000, RolledUpTwips = 600;
constexpr int RowRole = Qt::UserRole; // the node's row in RefHTTPList

// A node shows at most kShownLabel characters of its text, whatever the file holds: the tree
// measures and shapes every text it shows, and a name of megabytes would hold the window for
// minutes.
QString nodeText(const std::string& text) {
    QString shown = toUi(text);
    if (shown.size() <= kShownLabel) return shown;
    qsizetype n = kShownLabel;
    if (shown.at(n - 1).isHighSurrogate()) --n;
    return shown.left(n) + QChar(0x2026);
}
} // namespace

Form2::Form2(std::string commandLine, QWidget* parent) : QWidget(parent), commandLine_(std::move(commandLine)) {
    setObjectName("Form2");
    resize(twips(WidthTwips), twips(HeightTwips));
    const QFont verdana = namedFont("Verdana", 8);

    // A command label, so the keyboard can roll the window too (Tab, then Return or Space);
    // the mouse rolls it with a double click only.
    Label1 = named(new CommandLabel("Quellfort Link Library", this), "Label1");
    Label1->setToolTip("Doubleclick to Roll Up/Down.");
    Label1->setFont(verdana);
    Label1->installEventFilter(this);

    TreeView1 = named(new QTreeWidget(this), "TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    RefHTTPList = named(new QListWidget(this), "RefHTTPList");
    RefHTTPList->hide();

    Picture1 = named(new QFrame(this), "Picture1");
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAutoFillBackground(true);
    Label2 = named(plainLabel("A small note because this is your first start of Webshelf:", Picture1), "Label2");
    Label3 = named(plainLabel("You can roll up/down the library by doubleclicking the label above.", Picture1),
                   "Label3");
    Command1 = named(new QPushButton("Ok", Picture1), "Command1");
    for (QWidget* w : {static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3), static_cast<QWidget*>(Command1)})
        w->setFont(verdana);
    Label2->setWordWrap(true);
    Label3->setWordWrap(true);
    auto* note = new QVBoxLayout(Picture1);
    note->addWidget(Label2);
    note->addWidget(Label3);
    note->addWidget(Command1);

    // The note lies over the tree: both in one cell, the note at its top.
    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(TreeView1, 1, 0);
    layout->addWidget(Picture1, 1, 0, Qt::AlignTop);
    layout->setRowStretch(1, 1);
    // Rolled up, the window is only as high as its title label: the tree's minimum height must
    // not hold it open.
    layout->setSizeConstraint(QLayout::SetNoConstraint);

    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { TreeView1_NodeClick(item); });
    TreeView1->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Label1, &CommandLabel::clicked, this, [this] { Label1_DblClick(); });
    // Focus starts on the tree; the title label comes last.
    setTabOrder(TreeView1, Command1);
    setTabOrder(Command1, Label1);
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label1 && event->type() == QEvent::MouseButtonDblClick) {
        Label1_DblClick();
        return true;
    }
    // A single click on the title is no command: only the keys reach the label's own click.
    if (watched == Label1 && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease))
        return true;
    // Return and Space open the highlighted node as a click does: once a press (a held key
    // does not open it again and again), and the tree does nothing else with them.
    if (watched == TreeView1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space) {
            if (!key->isAutoRepeat()) TreeView1_NodeClick(TreeView1->currentItem());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form2::Form_Load() {
    const auto dir = checkModuleCommandLine(commandLine_);
    if (!dir) platform().endProgram(0);

    // Shown at most once per user, whether or not "Ok" is pressed. Keeping that is a side
    // effect: a settings file that cannot be read or written is reported and the library
    // opens all the same, with the note.
    bool note = true;
    try {
        note = getKorvexSetting(setting::WebshelfFirstStart) != "false";
        if (note) saveKorvexSetting(setting::WebshelfFirstStart, "false");
    } catch (const RunError& e) {
        showError(e.description() + ": " + setting::App + ".ini, [" + setting::Section + "] " +
                      setting::WebshelfFirstStart,
                  e.number());
    }
    noteShown_ = note;
    Picture1->setVisible(note);
    // The note's "Ok" takes the keys while the note is up; else the tree, the first field.
    if (note) Command1->setFocus();
    else TreeView1->setFocus();
    rolledUp_ = false;

    setWindowTitle(toUi("QF Webshelf" + numText(static_cast<long long>(VersionMajor)) + "." +
                        numText(static_cast<long long>(VersionMinor)) + "." +
                        numText(static_cast<long long>(VersionRevision))));

    // Centred from top to bottom, its right edge at a quarter of the screen's width; on a
    // screen too narrow for that it starts at the left edge rather than outside the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(std::max(0, s.width() / 4 - width()), (s.height() - height()) / 2);
    }

    ParseWebshelf(resolvePath(*dir, "korvex.wfd/config/webshelf.xml"));
}

void Form2::ParseWebshelf(const std::string& path) {
    const std::string baseDir = platform().currentDir();
    std::vector<std::string> lines;
    try {
        lines = readLines(path); // read whole, so no yield below runs with the file open
    } catch (const RunError& e) {
        showError(e.description() + ": " + path, e.number());
        return;
    }
    // Every node gets its row in the same step, so node and target stay paired.
    // The row keeps the target's bytes: a UTF-8 path or address opens as it was written,
    // never rebuilt from its shown text.
    auto addRow = [this](QTreeWidgetItem* item, const std::string& target) {
        item->setData(0, RowRole, RefHTTPList->count());
        addListText(RefHTTPList, target);
    };
    for (const ShelfFolder& f : parseWebshelf(lines, baseDir)) {
        auto* folder = new QTreeWidgetItem(TreeView1, QStringList{nodeText(f.name)});
        addRow(folder, VoidTarget);
        for (const ShelfLink& l : f.links) addRow(new QTreeWidgetItem(folder, QStringList{nodeText(l.text)}), l.target);
        folder->setExpanded(f.expanded);
        platform().doEvents();
    }
}

void Form2::TreeView1_NodeClick(QTreeWidgetItem* node) {
    if (!node) return;
    try {
        OpenLink(listText(RefHTTPList, node->data(0, RowRole).toInt()));
    } catch (const RunError& e) {
        showError(e); // a click handler: nothing may reach the event loop
    }
}

void OpenLink(const std::string& target) {
    if (target == VoidTarget) return;
    platform().shellOpen(target);
}

void Form2::Label1_DblClick() {
    // Rolled up, only the title and the label show: the tree and the note are hidden rather
    // than squeezed into what is left below the label.
    if (rolledUp_) {
        TreeView1->show();
        Picture1->setVisible(noteShown_);
        resize(width(), twips(HeightTwips));
    } else {
        TreeView1->hide();
        Picture1->hide();
        resize(width(), twips(RolledUpTwips));
    }
    rolledUp_ = !rolledUp_;
    platform().doEvents();
}

void Form2::Command1_Click() {
    noteShown_ = false;
    const bool hadFocus = Command1->hasFocus();
    Picture1->hide();
    if (hadFocus) TreeView1->setFocus();
}

} // namespace kx::webshelf
