// The dedicated server's small routines.
#include "ArenaFixture.h"

#include "Helpers.h"
#include "TextControls.h"

namespace kx::arenawarden {
namespace {

TEST(Helpers, NumberTextDropsTheLeadingBlankAndTheSign) {
    const std::pair<int, const char*> cases[] = {{0, "0"}, {28, "28"}, {90, "90"}, {-1, "1"}, {32767, "32767"}};
    for (const auto& [n, text] : cases) EXPECT_EQ(NumberText(static_cast<std::int16_t>(n)), text) << n;
}

TEST(Helpers, CycleEndTimeIsAPointInTimeToTheSecond) {
    FakePlatform fake;
    fake.clock = QDateTime(QDate(2026, 12, 31), QTime(23, 0, 0, 750));
    const QDateTime end = CycleEndTime(90);
    EXPECT_EQ(end, QDateTime(QDate(2027, 1, 1), QTime(0, 30, 0)));
    EXPECT_EQ(dateTimeText(end), "01.01.2027 00:30:00");
    fake.clock = QDateTime(QDate(2026, 12, 10), QTime(12, 0, 7));
    EXPECT_EQ(CycleEndTime(40), QDateTime(QDate(2026, 12, 10), QTime(12, 40, 7)));
}

TEST(Helpers, ShowTaskErrorBox) {
    FakePlatform fake;
    ShowTaskError("Path not found", 76);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "An error occured while trying to perform the specified task.\r\nPath not found ( 76 )");
    EXPECT_EQ(fake.boxes[0].style, 16);
    EXPECT_EQ(fake.boxes[0].title, "An error occured");
}

TEST(Helpers, AppendLineAddsALineBreakAfterEveryText) {
    TextBox box;
    AppendLine(&box, "A");
    EXPECT_EQ(box.text(), "A\r\n");
    AppendLine(&box, "B\r\n");
    EXPECT_EQ(box.text(), "A\r\nB\r\n\r\n");
    EXPECT_EQ(box.toPlainText().toStdString(), "A\nB\n\n");
    EXPECT_EQ(box.textCursor().position(), box.toPlainText().size()); // caret at the end
}

} // namespace
} // namespace kx::arenawarden
