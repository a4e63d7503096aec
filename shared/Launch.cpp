#include "shared/Launch.h"

#include "core/Files.h"
#include "platform/Platform.h"
#include "core/Text.h"

#include <cstdio>

namespace kx {

std::string moduleProgramPath(const std::string& korvexDir, const std::string& key) {
    return resolvePath(korvexDir, "korvex.wfd/modules/mod_" + key + ".exe");
}

void moduleStart(const std::string& korvexDir, const std::string& key, const LogSink& log) {
    if (log) {
        log("Called ModuleStart().");
        log(">> $ModuleName == " + key);
    }
    try {
        platform().startProcess(moduleProgramPath(korvexDir, key), {korvexDir}, "", win::NormalFocus);
    } catch (const RunError& e) {
        foundError(e);
        return;
    }
    if (log) log(">> Executed.");
}

std::string loadText(const std::string& path, const LogSink& log) {
    if (log) {
        log("Called LoadText().");
        log(">> $Text == " + path);
    }
    std::string text;
    for (const auto& line : readLines(resolvePath(path))) text += line + CRLF;
    return text;
}

int startURL(const std::string& url, const LogSink& log) {
    if (log) {
        log("Called StartURL().");
        log(">> $URL == " + url);
    }
    return platform().shellOpen(url);
}

void LogFile::write(const std::string& text) {
    // No value adds a line to a log: a CR, LF or NUL inside it (a registry value, a folder
    // name) is removed, so one call is one line.
    const std::string line = stripBreaks(text);
    // Resolving the path's case lists its folders; done once, not per line, since the game
    // directory may hold thousands of files (screenshots). A failed append resolves anew.
    try {
        if (!resolved_.empty()) {
            try {
                appendLine(resolved_, line);
                return;
            } catch (const RunError&) {
            }
        }
        resolved_ = resolvePath(path_);
        appendLine(resolved_, line);
    } catch (const RunError& e) {
        if (!warned_) {
            // The file tried: the path as found on disk, not as the program spelt it.
            const std::string& tried = resolved_.empty() ? path_ : resolved_;
            std::fprintf(stderr, "%s: cannot write the log %s (%s, %d); log lines are dropped.\n",
                         platform().programName().c_str(), tried.c_str(), e.description().c_str(),
                         e.number());
            warned_ = true;
        }
    }
}

} // namespace kx
