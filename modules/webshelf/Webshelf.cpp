#include "Webshelf.h"

#include "core/Files.h"
#include "core/Text.h"

#include <optional>
#include <unordered_map>

namespace kx::webshelf {

namespace {

// Columns 17 to Len - 13 hold the name; the flag is at Len - 2.
constexpr size_t NameStart = 16, NameTail = 13;

// The lower-case word at a 0-based column of the line, its letters in either case. The
// keywords are ASCII, and lower-casing the whole line (as Windows-1252 or as UTF-8) never makes
// an ASCII letter of another character that counts, so only ASCII letters are folded here:
// the columns stay byte columns, whatever the file's encoding.
bool wordAt(const std::string& line, size_t column, const char* word) {
    const std::string w = word;
    if (line.size() < column + w.size()) return false;
    for (size_t i = 0; i < w.size(); ++i) {
        char c = line[column + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != w[i]) return false;
    }
    return true;
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

// The length of the UTF-8 sequence that starts with this byte of valid UTF-8.
size_t sequenceLength(char first) {
    const auto b = static_cast<unsigned char>(first);
    return b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
}

} // namespace

// The walk goes by characters: the bytes of Windows-1252 text, the UTF-8 sequences of UTF-8
// text (the display rule's split), so a UTF-8 name shows and capitalises as written.
std::string capitaliseName(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    const bool utf8 = isUtf8WithHighBytes(text);
    // Windows-1252 maps byte for byte: each byte comes from the text mapped once as a whole.
    const std::string upper = utf8 ? std::string() : ucase(text), lower = utf8 ? std::string() : lcase(text);
    const bool byBytes = !utf8 && upper.size() == text.size() && lower.size() == text.size();
    bool raise = true; // the first character, and the one after each separator
    for (size_t i = 0; i < text.size();) {
        const size_t n = utf8 ? sequenceLength(text[i]) : 1;
        const char c = text[i];
        if (raise) {
            if (byBytes) out += upper[i];
            else out += ucase(text.substr(i, n));
            raise = false;
        } else if (isSeparator(c)) {
            out += c;
            raise = true;
        } else if (byBytes) {
            out += lower[i];
        } else if (n == 1) {
            out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        } else {
            out += lcase(text.substr(i, n));
        }
        i += n;
    }
    return out;
}

std::vector<ShelfFolder> parseWebshelf(const std::vector<std::string>& lines, const std::string& baseDir) {
    std::vector<ShelfFolder> folders;
    std::unordered_map<std::string, size_t> byName; // one look-up a line: the load stays linear
    constexpr size_t None = static_cast<size_t>(-1);
    size_t current = None; // the folder that takes the next links
    for (const std::string& line : lines) {
        if (wordAt(line, 1, "opennode")) {
            current = None;
            if (line.size() <= NameStart + NameTail) continue; // no room for a name
            const std::string name =
                capitaliseName(line.substr(NameStart, line.size() - NameStart - NameTail));
            const auto [it, added] = byName.try_emplace(name, folders.size());
            if (added) folders.push_back({name, line[line.size() - 3] == '1', {}});
            current = it->second;
            continue;
        }
        const bool url = wordAt(line, 2, "addurl");
        if (!url && !wordAt(line, 2, "addloc")) continue;
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
