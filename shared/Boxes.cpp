#include "shared/Boxes.h"

#include "platform/Platform.h"
#include "core/Text.h"

namespace kx {

namespace {
LogSink& errorLog() {
    static LogSink sink;
    return sink;
}
void log(const std::string& line) {
    if (errorLog()) errorLog()(line);
}
BoxShower& errorBox() {
    static BoxShower shower;
    return shower;
}
void show(const std::string& text, int style, const std::string& title) {
    if (errorBox()) errorBox()(text, style, title);
    else platform().msgBox(text, style, title);
}
} // namespace

void setErrorLog(LogSink sink) { errorLog() = std::move(sink); }
void setErrorBox(BoxShower shower) { errorBox() = std::move(shower); }

void showError(const std::string& description, long number) {
    log("ERROR HANDLER Called! Type: ShowError()");
    log(">> $Description == " + description);
    log(">> %i Number ==" + numText(static_cast<long long>(number)));
    show("An error occured while performing the specified task.\r\n" + description + "," +
             numText(static_cast<long long>(number)),
         box::Exclamation, "error.");
}

void foundError(const RunError& e) {
    log("ERROR HANDLER Called! Type: FoundError()");
    log(">> $Description == " + e.description());
    log(">> %i Number ==" + numText(static_cast<long long>(e.number())));
    show("A file could not be found. Please make sure, that QF-Korvex, is placed in your "
         "Quellfort GameDirectory",
         box::Critical, "An Error occured");
}

std::string boolToText(int value) {
    if (value == 0) return "false";
    if (value == 1) return "true";
    return "";
}

int textToBool(const std::string& text) { return lcase(text) == "true" ? 1 : 0; }

std::string pcNetName() {
    std::string buffer(16, ' ');
    const std::string name = platform().computerName();
    if (name.size() < 16) {
        buffer.replace(0, name.size(), name);
        buffer[name.size()] = '\0';
    }
    return buffer;
}

std::string shownText(const std::string& s) {
    const auto nul = s.find('\0');
    return nul == std::string::npos ? s : s.substr(0, nul);
}

} // namespace kx
