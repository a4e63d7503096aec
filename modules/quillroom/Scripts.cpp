#include "Scripts.h"

#include "core/Text.h"

#include <QDateTime>
#include <QLocale>

namespace kx::quillroom {

const std::array<ScriptKind, 8>& scriptKinds() {
    static const std::array<ScriptKind, 8> kinds{{
        {"Autoexecution List", "autoexec.hdr", "template autoexec.stl", "Autoexecution List File", "autoexec.ini",
         "korvex.wfd/config", false, false},
        {"ServerSet File", "cyc_serverset.hdr", "template cyc_serverset.stl", "ZIV ServerSet Batch Information",
         "my new ServerSet.ini", "korvex.wfd/config/serversets", true, false},
        {"SiteList File", "information_sites.hdr", "template information_sites.stl", "BrowseThis() Sitelist File",
         "information_sites.ini", "korvex.wfd/config", false, false},
        {"Functions List", "orn_functions.hdr", "template orn_functions.stl", "ORN Functions List",
         "orn_functions.ini", "korvex.wfd/config", false, false},
        {"Server List", "servers.hdr", "template servers.stl", "Korvex3 Joiner Server List", "servers.ini",
         "korvex.wfd/config", false, false},
        {"Skindefinition", "skindefinition.hdr", "template skindefinition.stl", "Skindefinition File",
         "Skindefinition.ini", "korvex.wfd/skins", false, true},
        {"Skininformation", "skininfo.hdr", "template skininfo.stl", "Skininformation File", "Skininfo.ini",
         "korvex.wfd/skins", false, true},
        {"PlugIn File", "plugin.hdr", "template plugin.stl", "Korvex3 PlugIn File", "start My PlugIn.spi",
         "korvex.wfd/plugins", true, false},
    }};
    return kinds;
}

std::string timeAndDateText(const QDateTime& when, const QLocale& locale) {
    // Scripts are Windows-1252 text.
    return fromUi(QString::fromStdString(shortTime(when.time(), locale))) + " / " +
           fromUi(QString::fromStdString(shortDate(when.date(), locale)));
}

std::vector<std::string> fillPlaceholders(std::vector<std::string> lines, const Placeholders& codes, OtherCodes other) {
    // In place: a file of a million lines is not copied line by line.
    size_t kept = 0;
    for (auto& line : lines) {
        if (line.size() >= 15 && line[14] == '%') {
            const char code = line.size() > 15 ? line[15] : '\0';
            const std::string* fill = code == '1' ? &codes.title
                                      : code == '2' ? &codes.playerName
                                      : code == '3' ? &codes.timeAndDate
                                                    : nullptr;
            if (fill) {
                line.resize(14);
                line += *fill;
            } else if (other == OtherCodes::Drop) {
                continue;
            }
        }
        if (&lines[kept] != &line) lines[kept] = std::move(line);
        ++kept;
    }
    lines.resize(kept);
    return lines;
}

QString editorText(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& l : lines) {
        bytes += l;
        bytes += '\n';
    }
    // Script text is the game's Windows-1252 even where its bytes look like UTF-8: shown as
    // UTF-8 it would be saved back as different bytes.
    return fromCp1252(bytes);
}

std::vector<std::string> scriptLines(const QString& rawText) {
    QString text = rawText;
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return splitLines(fromUi(text));
}

namespace {
bool isSep(char c) { return c == '/' || c == '\\'; }
} // namespace

std::optional<std::string> FindScriptPath(const std::string& korvexDir, const std::string& fullPath) {
    std::string base = korvexDir;
    while (base.size() > 1 && isSep(base.back())) base.pop_back();
    if (!base.empty() && fullPath.size() > base.size() && fullPath.compare(0, base.size(), base) == 0) {
        if (isSep(fullPath[base.size()])) return fullPath.substr(base.size());
        if (isSep(base.back())) return fullPath.substr(base.size() - 1);
    }
    const std::string segment = "korvex.wfd";
    for (size_t i = fullPath.size(); i-- > 0;) {
        if (!isSep(fullPath[i])) continue;
        const size_t end = i + 1 + segment.size();
        if (end < fullPath.size() && fullPath.compare(i + 1, segment.size(), segment) == 0 && isSep(fullPath[end]))
            return fullPath.substr(i);
    }
    return std::nullopt;
}

std::string menuCaption(const std::string& fileName) {
    const auto dot = fileName.find('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

} // namespace kx::quillroom
