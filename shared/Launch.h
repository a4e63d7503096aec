#pragma once
// Starting the suite's modules and handing files to the desktop, built into every program
// from one source. The main program passes its log; the other programs pass none and so
// write no lines.

#include "shared/Boxes.h"

#include <string>
#include <vector>

namespace kx {

// <dir>/korvex.wfd/modules/mod_<key>.exe, resolved ignoring case; started with the base
// directory as its one argument.
std::string moduleProgramPath(const std::string& korvexDir, const std::string& key);

// Starts mod_<key> with the base directory as its command line, without waiting. A failed
// start is reported through foundError (with its log lines when a sink is given) and swallowed.
// Logs "Called ModuleStart().", ">> $ModuleName == " key and ">> Executed." when a sink is given.
void moduleStart(const std::string& korvexDir, const std::string& key, const LogSink& log = {});

// The file's lines, each followed by CR LF ("" for an empty file). Raises the file's error.
// Logs "Called LoadText()." and ">> $Text == " path when a sink is given.
std::string loadText(const std::string& path, const LogSink& log = {});

// A web address or document through the desktop; returns the shell's result (> 32 success).
int startURL(const std::string& url, const LogSink& log = {});

// The log writer of one program: appends one line (CR LF) per call, opening and closing the
// file each time. A line that cannot be written (the log folder missing) is dropped with one
// note on standard error for the life of the process; the program goes on.
class LogFile {
public:
    explicit LogFile(std::string path) : path_(std::move(path)) {}
    void write(const std::string& line);
    const std::string& path() const { return path_; }
    LogSink sink() {
        return [this](const std::string& l) { write(l); };
    }

private:
    std::string path_;
    std::string resolved_; // path_ as found on disk, kept between lines
    bool warned_ = false;
};

} // namespace kx
