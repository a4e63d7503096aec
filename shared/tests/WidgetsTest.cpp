// The shared control helpers: long lines in multi-line boxes, entries that keep their bytes,
// the single-line box's limit, the file list with UTF-8 names.
#include "core/Files.h"
#include "core/Text.h"
#include "platform/FakePlatform.h"
#include "shared/Ui.h"
#include "shared/testing/GameDir.h"
#include "shared/testing/ShownText.h"
#include "shared/widgets/FileControls.h"
#include "shared/widgets/LimitedTextBox.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

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
