#include "Helpers.h"

#include "TextControls.h"

#include "platform/Platform.h"
#include "core/Files.h"
#include "core/Text.h"

namespace kx::arenawarden {

void AppendLine(TextBox* box, const std::string& text) { box->setText(box->text() + text + CRLF); }

void ShowTaskError(const std::string& description, int number) {
    platform().msgBox("An error occured while trying to perform the specified task.\r\n" + description + " (" +
                          numText(static_cast<long long>(number)) + " )",
                      box::Critical, "An error occured");
}

bool isListedName(const std::string& typed) { return isValidFileName(typed) && typed[0] != '.'; }

std::string dateTimeText(const QDateTime& t) {
    return t.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")).toStdString();
}

QDateTime CycleEndTime(std::int16_t minutes) {
    QDateTime end = platform().now().addSecs(static_cast<qint64>(minutes) * 60);
    return end.addMSecs(-end.time().msec());
}

std::string NumberText(std::int16_t n) { return numTextTrimmed(n); }

} // namespace kx::arenawarden
