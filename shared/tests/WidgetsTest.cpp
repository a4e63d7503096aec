// The shared control helpers: long lines in multi-line boxes, entries that keep their bytes,
// the single-line box's limit, the file list with UTF-8 names; the keyboard controls (label
// commands, dialog keys, the folder list's Return), bounded labels, texts for reading, the icon.
#include "core/Files.h"
#include "core/Text.h"
#include "platform/FakePlatform.h"
#include "shared/Ui.h"
#include "shared/testing/GameDir.h"
#include "shared/testing/ShownText.h"
#include "shared/widgets/FileControls.h"
#include "shared/widgets/CommandLabel.h"
#include "shared/widgets/LimitedTextBox.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace kx;

using test::longestBlock;

// One block of a million characters takes the box a minute to lay out; blocks of a bounded
// length are laid out as they come into view.
TEST(MultiLineBox, AVeryLongLineIsShownInBlocksOfBoundedLength) {
    QPlainTextEdit box;
    const QString line(3 * kShownBlock + 5, QChar('x'));
    setShownText(&box, "short\n" + line + "\nend");
    EXPECT_LE(longestBlock(box), kShownBlock);
    EXPECT_EQ(box.toPlainText().remove('\n'), "short" + line + "end");
    EXPECT_EQ(box.document()->blockCount(), 1 + 4 + 1);

    // Appending continues the last line and keeps the bound.
    appendShownText(&box, QString(kShownBlock, QChar('y')) + "\nz");
    EXPECT_LE(longestBlock(box), kShownBlock);
    EXPECT_EQ(box.document()->lastBlock().text(), "z");

    // Usual text is shown exactly; a surrogate pair is never split.
    setShownText(&box, "a\n\nb c\n");
    EXPECT_EQ(box.toPlainText(), "a\n\nb c\n");
    const QString pairs = QString(kShownBlock - 1, QChar('x')) + QString::fromUtf8("🎮🎮");
    setShownText(&box, pairs);
    EXPECT_EQ(box.toPlainText().remove('\n'), pairs);
    EXPECT_TRUE(box.document()->firstBlock().text().endsWith(QString::fromUtf8("🎮")));
}

TEST(SingleLineBox, TextSetFromCodeIsNeverCutTypingIsLimited) {
    LimitedTextBox box;
    const std::string path = "/" + std::string(40000, 'p');
    box.setBytes(path);
    EXPECT_EQ(box.bytes(), path); // Qt's default maximum length would cut it at 32,767
    box.setText(QString(50000, QChar('q')));
    EXPECT_EQ(box.text().size(), 50000);

    box.setTypingLimit(3);
    box.clear();
    box.setFocus();
    QTest::keyClicks(&box, "abcdef");
    EXPECT_EQ(box.text(), "abc");

    // Bytes set from code come back as they were while shown, a typed text as Windows-1252.
    box.setBytes("/home/Jos\xC3\xA9");
    EXPECT_EQ(box.text(), QString::fromUtf8("/home/José"));
    EXPECT_EQ(box.bytes(), "/home/Jos\xC3\xA9");
    box.setText(QString::fromUtf8("José"));
    EXPECT_EQ(box.bytes(), "Jos\xE9");
}

TEST(ListEntries, KeepTheirBytesWhileTheyShowThem) {
    QListWidget list;
    QComboBox combo;
    for (const std::string b : {"Jos\xC3\xA9", "caf\xE9", "plain"}) {
        addListText(&list, b);
        addComboText(&combo, b);
    }
    EXPECT_EQ(list.item(0)->text(), QString::fromUtf8("José"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(listText(&list, i), comboText(&combo, i));
    }
    EXPECT_EQ(listText(&list, 0), "Jos\xC3\xA9");
    EXPECT_EQ(listText(&list, 1), "caf\xE9");
    // An entry whose text was changed since gives its text.
    list.item(0)->setText(QString::fromUtf8("Zoë"));
    EXPECT_EQ(listText(&list, 0), "Zo\xEB");
}

// An entry from a file may be of any length: it shows a bounded part and gives back every byte.
TEST(ListEntries, AnEntryOfAnySizeShowsABoundedTextAndKeepsItsBytes) {
    QListWidget list;
    QComboBox combo;
    const std::string huge = "map " + std::string(10'000'000, 'x');
    addListText(&list, huge);
    addComboText(&combo, huge);
    EXPECT_EQ(list.item(0)->text(), QString::fromStdString(huge.substr(0, kShownLabel)) + QChar(0x2026));
    EXPECT_EQ(combo.itemText(0), list.item(0)->text());
    EXPECT_EQ(listText(&list, 0), huge);
    EXPECT_EQ(comboText(&combo, 0), huge);
}

TEST(FileList, UtfEightNamesAreShownAsSuchAndGivenBackAsOnDisk) {
    FakePlatform fake;
    test::GameDir g;
    g.write("lists/Jos\xC3\xA9.nfo", "a\r\n");
    g.write("lists/caf\xE9.nfo", "b\r\n");
    FileListBox files;
    files.setPattern("*.nfo");
    files.setPath(g.file("lists"));
    ASSERT_EQ(files.count(), 2);
    EXPECT_EQ(files.item(1)->text(), QString::fromUtf8("José.nfo"));
    EXPECT_EQ(files.files(), (std::vector<std::string>{"caf\xE9.nfo", "Jos\xC3\xA9.nfo"}));
    files.setCurrentRow(1);
    EXPECT_EQ(readFile(joinPath(files.path(), files.fileName())), "a\r\n");
}

namespace {
// Shows a window and makes it the active one, so focus and keys behave as for a user.
void activate(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
}
} // namespace

// A label that acts as a command is reached by Tab, shows the focus and acts on the keys a
// button acts on, and on a click that ends inside it.
TEST(CommandLabel, TakesFocusByTabAndActsOnReturnEnterSpaceAndAClick) {
    QWidget w;
    auto* before = new QPushButton("before", &w);
    auto* label = new CommandLabel("<b>Launch...</b>", &w);
    auto* lay = new QVBoxLayout(&w);
    lay->addWidget(before);
    lay->addWidget(label);
    activate(&w);
    EXPECT_EQ(label->text(), "<b>Launch...</b>");
    EXPECT_EQ(label->textFormat(), Qt::PlainText);

    before->setFocus();
    const QImage unfocused = label->grab().toImage();
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_TRUE(label->hasFocus());
    EXPECT_NE(label->grab().toImage(), unfocused) << "the focus is not shown";

    QSignalSpy clicks(label, &CommandLabel::clicked);
    QTest::keyClick(label, Qt::Key_Return);
    QTest::keyClick(label, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(label, Qt::Key_Space);
    EXPECT_EQ(clicks.size(), 3);
    QTest::keyClick(label, Qt::Key_A);
    EXPECT_EQ(clicks.size(), 3);

    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
    EXPECT_EQ(clicks.size(), 4);
    QTest::mouseClick(label, Qt::RightButton, {}, label->rect().center());
    EXPECT_EQ(clicks.size(), 4);
    // Pressed on the label, released elsewhere: no command.
    QTest::mousePress(label, Qt::LeftButton, {}, label->rect().center());
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() + 20, label->height() + 20));
    EXPECT_EQ(clicks.size(), 4);
}

// A value of any size is shown on one line cut to the label's width; the window's size does not
// follow it, and the tooltip holds a bounded text that is never read as markup.
TEST(ShownLabel, AValueOfAnySizeIsBoundedElidedAndNeverWidensTheWindow) {
    QWidget w;
    auto* label = new QLabel(&w);
    auto* lay = new QVBoxLayout(&w);
    lay->addWidget(new QPushButton("a button of some width", &w));
    lay->addWidget(label);
    setShownLabel(label, "short");
    activate(&w);
    const QSize size = w.size();
    EXPECT_EQ(label->text(), "short");

    QString huge = "<b>" + QString(10 * 1024 * 1024, QChar('x')) + "\n" + "tail";
    QElapsedTimer timer;
    timer.start();
    setShownLabel(label, huge);
    QCoreApplication::processEvents();
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(w.size(), size);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_TRUE(label->text().startsWith("<b>"));
    EXPECT_FALSE(label->text().contains('\n'));
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_LT(label->toolTip().size(), 2 * kShownLabel);
    EXPECT_TRUE(label->toolTip().contains("&lt;b&gt;"));

    // Wider label, more of the text; a line break in a short value is a blank.
    w.resize(size.width() * 2, size.height());
    QCoreApplication::processEvents();
    EXPECT_GT(label->text().size(), 10);
    setShownLabel(label, "two\nlines");
    EXPECT_EQ(label->text(), "two lines");
    EXPECT_EQ(w.size(), QSize(size.width() * 2, size.height()));
}

TEST(ReadingText, IsReadOnlyWrapsAtWordsPassesTabOnAndIsSelectableByKeyboard) {
    QWidget w;
    auto* plain = new QPlainTextEdit(&w);
    auto* rich = new QTextEdit(&w);
    auto* after = new QPushButton("after", &w);
    auto* lay = new QVBoxLayout(&w);
    lay->addWidget(plain);
    lay->addWidget(rich);
    lay->addWidget(after);
    makeReadingText(plain);
    makeReadingText(rich);
    plain->setPlainText("Slate and teal for late rounds.");
    rich->setPlainText("Slate and teal for late rounds.");
    activate(&w);

    plain->setFocus();
    QTest::keyClicks(plain, "typed");
    EXPECT_EQ(plain->toPlainText(), "Slate and teal for late rounds.");
    EXPECT_EQ(plain->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(plain->wordWrapMode(), QTextOption::WordWrap);
    EXPECT_EQ(rich->lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_EQ(rich->wordWrapMode(), QTextOption::WordWrap);

    // Shift+End selects by keyboard; Tab goes on to the next control, twice.
    plain->moveCursor(QTextCursor::Start);
    QTest::keyClick(plain, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_FALSE(plain->textCursor().selectedText().isEmpty());
    QTest::keyClick(plain, Qt::Key_Tab);
    ASSERT_TRUE(rich->hasFocus());
    QTest::keyClicks(rich, "typed");
    EXPECT_EQ(rich->toPlainText(), "Slate and teal for late rounds.");
    QTest::keyClick(rich, Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());

    // A narrow box breaks between words, never inside one.
    plain->setFixedWidth(120);
    QCoreApplication::processEvents();
    const QTextBlock block = plain->document()->firstBlock();
    ASSERT_GT(block.layout()->lineCount(), 1);
    for (int i = 0; i + 1 < block.layout()->lineCount(); ++i) {
        const QTextLine line = block.layout()->lineAt(i);
        EXPECT_TRUE(block.text().mid(line.textStart() + line.textLength() - 1, 1) == " ")
            << "line " << i << " ends inside a word";
    }
}

// A window that acts as a dialog: Escape is its Cancel, Return its OK, unless the control with
// the focus takes Return itself.
TEST(DialogKeys, EscapeCancelsReturnPressesOkExceptWhereAControlTakesIt) {
    FakePlatform fake;
    test::GameDir g;
    g.write("levels/one/a.lvl", "x");
    QWidget w;
    auto* name = new QLineEdit(&w);
    auto* notes = new QPlainTextEdit(&w);
    auto* combo = new QComboBox(&w);
    combo->addItems({"a", "b"});
    auto* dirs = new DirListBox(&w);
    auto* other = new QPushButton("Other", &w);
    auto* ok = new QPushButton("OK", &w);
    auto* cancel = new QPushButton("Cancel", &w);
    auto* lay = new QVBoxLayout(&w);
    for (QWidget* c : std::initializer_list<QWidget*>{name, notes, combo, dirs, other, ok, cancel}) lay->addWidget(c);
    setDialogKeys(&w, ok, cancel);
    dirs->setPath(g.file("levels"));
    activate(&w);
    QSignalSpy oks(ok, &QPushButton::clicked), cancels(cancel, &QPushButton::clicked),
        others(other, &QPushButton::clicked);

    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(oks.size(), 1);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(oks.size(), 2);

    // Return in the open list of a combo box picks the entry and presses nothing.
    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(combo->view()->isVisible());
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    EXPECT_FALSE(combo->view()->isVisible());
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(oks.size(), 2);

    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_Return);
    EXPECT_EQ(oks.size(), 2);
    EXPECT_EQ(notes->toPlainText(), "\n");

    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(others.size(), 1);
    EXPECT_EQ(oks.size(), 2);

    // The folder list opens the highlighted folder and no more.
    dirs->setFocus();
    QTest::keyClick(dirs, Qt::Key_Down);
    QTest::keyClick(dirs, Qt::Key_Return);
    EXPECT_EQ(dirs->path(), g.file("levels/one"));
    EXPECT_EQ(oks.size(), 2);

    for (QWidget* c : std::initializer_list<QWidget*>{name, notes, combo, dirs, ok}) {
        c->setFocus();
        QTest::keyClick(c, Qt::Key_Escape);
    }
    EXPECT_EQ(cancels.size(), 5);
    EXPECT_EQ(oks.size(), 2);

    // A disabled OK is not pressed; a disabled Cancel not either.
    ok->setEnabled(false);
    cancel->setEnabled(false);
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_EQ(oks.size(), 2);
    EXPECT_EQ(cancels.size(), 5);
}

// A dialog without an OK: Escape closes it, Return does nothing.
TEST(DialogKeys, AWindowWithOnlyACloseClosesOnEscape) {
    QDialog d;
    auto* box = new QLineEdit(&d);
    auto* close = new QPushButton("Close", &d);
    close->setAutoDefault(false);
    auto* lay = new QVBoxLayout(&d);
    lay->addWidget(box);
    lay->addWidget(close);
    QObject::connect(close, &QPushButton::clicked, &d, &QWidget::hide);
    setDialogKeys(&d, nullptr, close);
    activate(&d);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
}

// The folder list opens the highlighted folder on Return as on a double click; an entry that
// went away is reported and the list read again.
TEST(FolderList, ReturnOpensTheHighlightedFolder) {
    FakePlatform fake;
    test::GameDir g;
    g.write("maps/alpha/x.lvl", "x");
    g.write("maps/beta/y.lvl", "y");
    DirListBox dirs;
    dirs.setPath(g.file("maps"));
    activate(&dirs);
    QSignalSpy changes(&dirs, &DirListBox::pathChanged);
    QTest::keyClick(&dirs, Qt::Key_Down);
    QTest::keyClick(&dirs, Qt::Key_Down);
    EXPECT_EQ(dirs.path(), g.file("maps")); // highlighting opens nothing
    QTest::keyClick(&dirs, Qt::Key_Return);
    EXPECT_EQ(dirs.path(), g.file("maps/beta"));
    EXPECT_EQ(changes.size(), 1);
    // Up to the parent, highlighted above the opened folder, with Enter of the keypad.
    QTest::keyClick(&dirs, Qt::Key_Up);
    QTest::keyClick(&dirs, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dirs.path(), g.file("maps"));

    removeFile(g.file("maps/alpha/x.lvl"));
    removeDir(g.file("maps/alpha"));
    QTest::keyClick(&dirs, Qt::Key_Down);
    QTest::keyClick(&dirs, Qt::Key_Return);
    EXPECT_EQ(dirs.path(), g.file("maps"));
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(dirs.count(), dirs.currentRow() + 2); // only beta is listed below
}

TEST(SuiteIcon, IsBuiltInWithTheSizesADesktopAsksFor) {
    const QIcon icon = suiteIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48, 256}) {
        const QPixmap p = icon.pixmap(size, size);
        EXPECT_EQ(p.size(), QSize(size, size)) << size;
        EXPECT_TRUE(p.toImage().hasAlphaChannel());
    }
}

// A caption made from data: "&" shows as itself, a tab as a blank (a menu would start a
// shortcut column at it), a caption of any length is cut.
TEST(MenuCaption, AmpersandAndTabShowAsTextAndLengthIsBounded) {
    QMenu menu;
    const struct {
        std::string data;
        QString shown;
    } cases[] = {
        {"Tools & Maps.spi", "Tools && Maps.spi"},
        {"Tool\tMap.spi", "Tool Map.spi"},
        {"a&\tb", "a&& b"},
        {"Jos\xC3\xA9", QString::fromUtf8("José")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(menuText(c.data), c.shown) << c.data;
        QAction* a = menu.addAction(menuText(c.data));
        EXPECT_FALSE(a->text().contains('\t')) << c.data;
    }
    // A caption from a file may be of any length: the menu's width must not follow it.
    const QString cut = menuText(std::string(10'000'000, 'x'));
    EXPECT_EQ(cut, QString(kShownLabel, 'x') + QChar(0x2026));
}
