#include "Webshelf.h"

#include "core/Files.h"
#include "core/Text.h"

#include <optional>

namespace kx::webshelf {

namespace {

// Columns 17 to Len - 13 hold the name; the flag is at Len - 2.
constexpr size_t NameStart = 16, NameTail = 13;

// The word at a 0-based column of the line.
bool wordAt(const std::string& line, size_t column, const char* word) {
    const std::string w = word;
    return line.size() >= column + w.size() && line.compare(column, w.size(), w) == 0;
}

bool isSeparator(char c) { return c == '&' || c == ' ' || c == '-'; }

// The texts between quotes 1 and 2 and between quotes 3 and 4; further quotes are ignored.
std::optional<std::pair<std::string, std::string>> quotedValues(const std::string& line) {
    size_t q[4];
    size_t found = 0;
    for (size_t i = 0; i < line.size() && found < 4; ++i)
        if (line[i] == '"') q[found++] = i;
    if (found < 4) return std::nullopt;
    return std::make_pair(line.substr(q[0] + 1, q[1] - q[0] - 1), line.substr(q[2] + 1, q[3] - q[2] - 1));
}

} // namespace

std::string capitaliseName(const std::string& text) {
    if (text.empty()) return text;
    std::string out = ucase(text.substr(0, 1));
    for (size_t i = 1; i < text.size(); ++i) {
        const std::string c = text.substr(i, 1);
        if (isSeparator(text[i])) {
            out += c;
            if (i + 1 < text.size()) out += ucase(text.substr(++i, 1));
        } else {
            out += lcase(c);
        }
    }
    return out;
}

std::vector<ShelfFolder> parseWebshelf(const std::vector<std::string>& lines, const std::string& baseDir) {
    std::vector<ShelfFolder> folders;
    constexpr size_t None = static_cast<size_t>(-1);
    size_t current = None; // the folder that takes the next links
    for (const std::string& line : lines) {
        const std::string lower = lcase(line); // same length: columns line up with the line
        if (wordAt(lower, 1, "opennode")) {
            current = None;
            if (line.size() <= NameStart + NameTail) continue; // no room for a name
            const std::string name =
                capitaliseName(line.substr(NameStart, line.size() - NameStart - NameTail));
            for (size_t i = 0; i < folders.size(); ++i)
                if (folders[i].name == name) current = i;
            if (current == None) {
                folders.push_back({name, line[line.size() - 3] == '1', {}});
                current = folders.size() - 1;
            }
            continue;
        }
        const bool url = wordAt(lower, 2, "addurl");
        if (!url && !wordAt(lower, 2, "addloc")) continue;
        const auto values = quotedValues(line);
        if (!values || current == None) continue;
        std::string target = url ? values->first : resolvePath(baseDir, values->first);
        // The file is read as lower case, so a web target "VOID" is the word void as well and
        // opens nothing; other targets keep their capitals.
        if (url && lcase(target) == VoidTarget) target = VoidTarget;
        folders[current].links.push_back({capitaliseName(values->second), target});
    }
    return folders;
}

} // namespace kx::webshelf
