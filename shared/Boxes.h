#pragma once
// The suite's shared boxes and truth texts, built into every program from this one source.
// The main program's copies write three lines to its log first: it installs a log sink.

#include "core/RunError.h"

#include <functional>
#include <string>

namespace kx {

using LogSink = std::function<void(const std::string& line)>;

// Where ShowError and FoundError write their three lines first (the launcher log); none by default.
void setErrorLog(LogSink sink);
// How ShowError and FoundError show their box; the main program keeps it as its current box.
// The platform's box by default.
using BoxShower = std::function<int(const std::string& text, int style, const std::string& title)>;
void setErrorBox(BoxShower shower);

// "An error occured while performing the specified task." CR LF description "," number; 48, "error.".
void showError(const std::string& description, long number);
inline void showError(const RunError& e) { showError(e.description(), e.number()); }
// "A file could not be found. ..." 16, "An Error occured"; the error is logged when a sink is set.
void foundError(const RunError& e);

// 0 "false", 1 "true", anything else "".
std::string boolToText(int value);
// 1 when the lower-cased text is exactly "true", else 0.
int textToBool(const std::string& text);

// The computer's name as the platform's 16-character buffer leaves it: the name, a NUL and
// the rest of 16 blanks; 16 blanks when the name does not fit.
std::string pcNetName();
// The part before the NUL, as a text box shows it.
std::string shownText(const std::string& s);

} // namespace kx
