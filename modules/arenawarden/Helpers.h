#pragma once
// The dedicated server's small routines: log lines, its own error box, the end of a map cycle,
// and numbers as the server-set files write them. TextToBool and BoolToText are the suite's
// shared ones (Boxes.h), LoadText the silent copy of Launch.h.

#include <QDateTime>

#include <cstdint>
#include <string>

namespace kx::arenawarden {

class TextBox;

// The box's text becomes its old text, the given text and CR LF; nothing trimmed.
void AppendLine(TextBox* box, const std::string& text);

// "An error occured while trying to perform the specified task." CR LF description " (" number
// with its leading blank " )"; critical icon, title "An error occured".
void ShowTaskError(const std::string& description, int number);

// The present date and time as the module shows it, to the second.
std::string dateTimeText(const QDateTime& t);

// The end of a cycle: now plus the minutes, as a point in time to the whole second (the
// second the windows show; the cycle ends on the first check at or after it).
QDateTime CycleEndTime(std::int16_t minutes);

// A typed server-set or cycle-list name, checked before its extension is added: a file name
// (isValidFileName, so not "." or "..") that does not begin with ".", since such a file would
// be hidden from the lists that offer it.
bool isListedName(const std::string& typed);

// A number without the blank that number text puts in front: 28 "28", -1 "1".
std::string NumberText(std::int16_t n);

} // namespace kx::arenawarden
