// Per-user settings and the registry, both plain text files below $XDG_CONFIG_HOME/Korvex.
//
// Every call reads the file anew; every change is written whole to a temporary file and
// renamed over the old one while a lock on the folder is held, so another process sees a save
// at once, never half of one, and two writers cannot lose each other's change. Lines we do not
// understand (comments, hand edits) are kept as they are. Lines are written with CR LF and read
// ending in CR LF, LF or CR. Text is stored as the programs' Windows-1252 bytes.
//
// Settings: <app>.ini with "[section]" and "key=value" lines; sections and keys compare ignoring
// case. A value is everything after the first "=", so "=" and leading or trailing blanks stay
// as they are. Only four bytes are escaped, because a line cannot hold them: "\" is written
// "\\", CR "\r", LF "\n", NUL "\0". Keys also escape "=" and a leading "[", ";" or "#";
// section names escape "]".
//
// Registry: registry.reg in the "Windows Registry Editor Version 5.00" text form: a
// "[HKEY_LOCAL_MACHINE\Software\X]" section per key, "name"="text" (REG_SZ) and
// "name"=dword:0000002a (REG_DWORD) lines, @ for the default value. Strings escape "\" and
// '"' as that format does, and CR, LF, NUL as \r \n \0. hex: and hex(N): values are read too.
// A key exists when its section or a section below it exists (parents are implied, as when
// such a file is imported).

#include "platform/RealParts.h"

#include "core/Files.h"
#include "core/RunError.h"
#include "core/Text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kx::real {

namespace {

// An exclusive lock on the settings folder itself (flock on its descriptor), so no lock file
// is left lying about. Held by writers for their read-change-rename.
class FolderLock {
public:
    explicit FolderLock(const std::string& dir) {
        fd_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ < 0) throw RunError::fromErrno(errno, dir);
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd_);
            throw RunError::fromErrno(e, dir);
        }
    }
    ~FolderLock() { ::close(fd_); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

void makeDirs(const std::string& dir) {
    std::string sofar;
    size_t pos = 0;
    while (pos != std::string::npos) {
        const size_t slash = dir.find('/', pos + 1);
        sofar = dir.substr(0, slash);
        pos = slash;
        if (sofar.empty() || dirExists(sofar)) continue;
        if (::mkdir(sofar.c_str(), 0700) != 0 && errno != EEXIST) throw RunError::fromErrno(errno, sofar);
    }
}

// The lines of a file, or none when it does not exist.
std::vector<std::string> readIfThere(const std::string& path) {
    if (!fileExists(path)) {
        struct stat st{};
        if (::stat(path.c_str(), &st) == 0) throw RunError(err::PathFileAccess); // a folder in its place
        return {};
    }
    return readLines(path);
}

std::string trimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

std::string escapeWith(const std::string& raw, const std::string& extra) {
    std::string out;
    out.reserve(raw.size());
    for (const char c : raw) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\0': out += "\\0"; break;
        default:
            if (extra.find(c) != std::string::npos) out += '\\';
            out += c;
        }
    }
    return out;
}

// "\r" "\n" "\0" "\\"; a backslash before any other character stands for that character.
std::string unescape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char n = text[++i];
        out += n == 'r' ? '\r' : n == 'n' ? '\n' : n == '0' ? '\0' : n;
    }
    return out;
}

// Position of the first c not escaped by a backslash, npos when none.
size_t findUnescaped(const std::string& s, char c, size_t from = 0) {
    for (size_t i = from; i < s.size(); ++i) {
        if (s[i] == '\\') ++i;
        else if (s[i] == c) return i;
    }
    return std::string::npos;
}

// --- INI -------------------------------------------------------------------------------------

std::string escapeKey(const std::string& key) {
    std::string e = escapeWith(key, "=");
    if (!e.empty() && (e[0] == '[' || e[0] == ';' || e[0] == '#')) e.insert(0, "\\");
    return e;
}

// The section name of a "[section]" line.
std::optional<std::string> iniSection(const std::string& line) {
    if (line.empty() || line[0] != '[') return std::nullopt;
    const std::string t = trimBlanks(line);
    const size_t close = findUnescaped(t, ']', 1);
    if (close == std::string::npos || close != t.size() - 1) return std::nullopt;
    return unescape(t.substr(1, close - 1));
}

struct IniPair {
    std::string rawKey, key, value;
};

std::optional<IniPair> iniPair(const std::string& line) {
    if (line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '[') return std::nullopt;
    const size_t eq = findUnescaped(line, '=');
    if (eq == std::string::npos) return std::nullopt;
    return IniPair{line.substr(0, eq), unescape(line.substr(0, eq)), unescape(line.substr(eq + 1))};
}

std::string settingsPath(const std::string& app) {
    if (!isValidFileName(app)) throw RunError(err::BadFileName);
    return configDir() + "/" + app + ".ini";
}

// --- registry file ----------------------------------------------------------------------------

const char* const kRegHeader = "Windows Registry Editor Version 5.00";

std::string escapeRegString(const std::string& raw) { return escapeWith(raw, "\""); }

// Lower-cased path with empty components dropped and the short hive names spelled out.
std::string keyId(const std::string& path) {
    std::string norm = lcase(normalizeSubKey(path));
    const size_t slash = norm.find('\\');
    std::string hive = norm.substr(0, slash);
    const std::string rest = slash == std::string::npos ? "" : norm.substr(slash);
    if (hive == "hklm") hive = "hkey_local_machine";
    else if (hive == "hkcu") hive = "hkey_current_user";
    else if (hive == "hkcr") hive = "hkey_classes_root";
    else if (hive == "hku") hive = "hkey_users";
    return hive + rest;
}

std::optional<std::string> regSection(const std::string& line) {
    const std::string t = trimBlanks(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
    return t.substr(1, t.size() - 2); // "-..." is a deletion: callers never match it
}

struct RegValue {
    size_t first = 0, count = 1; // lines, continuation lines included
    std::string name;
    bool deleted = false;
    std::uint32_t type = 0;
    std::string data;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A line that can continue a hex: list: hex digits, commas and blanks, and "\" at its end.
bool hexListLine(const std::string& line) {
    const std::string t = trimBlanks(line);
    if (t.empty()) return false;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '\\' && i + 1 == t.size()) continue;
        if (!(hexDigit(c) >= 0 || c == ',' || c == ' ' || c == '\t')) return false;
    }
    return true;
}

// Parses the value line at lines[i] (and its continuation lines, which never reach end, the
// end of its section, nor a line that is no part of a hex list).
std::optional<RegValue> regValue(const std::vector<std::string>& lines, size_t i, size_t end) {
    const std::string& line = lines[i];
    RegValue v;
    v.first = i;
    size_t pos = 0;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos < line.size() && line[pos] == '@') {
        ++pos;
    } else if (pos < line.size() && line[pos] == '"') {
        const size_t close = findUnescaped(line, '"', pos + 1);
        if (close == std::string::npos) return std::nullopt;
        v.name = unescape(line.substr(pos + 1, close - pos - 1));
        pos = close + 1;
    } else {
        return std::nullopt;
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') return std::nullopt;
    std::string rest = trimBlanks(line.substr(pos + 1));
    if (rest == "-") {
        v.deleted = true;
        return v;
    }
    if (!rest.empty() && rest[0] == '"') {
        const size_t close = findUnescaped(rest, '"', 1);
        if (close == std::string::npos) return std::nullopt;
        v.type = reg::Sz;
        v.data = unescape(rest.substr(1, close - 1));
        return v;
    }
    const std::string low = lcase(rest);
    if (low.rfind("dword:", 0) == 0) {
        const std::string digits = rest.substr(6);
        if (digits.empty() || digits.size() > 8) return std::nullopt;
        std::uint32_t n = 0;
        for (const char c : digits) {
            const int d = hexDigit(c);
            if (d < 0) return std::nullopt;
            n = n * 16 + std::uint32_t(d);
        }
        v.type = reg::Dword;
        v.data.assign(4, '\0');
        for (int b = 0; b < 4; ++b) v.data[size_t(b)] = char((n >> (8 * b)) & 0xFF);
        return v;
    }
    if (low.rfind("hex", 0) == 0) {
        size_t colon = rest.find(':');
        if (colon == std::string::npos) return std::nullopt;
        v.type = 3; // REG_BINARY
        if (low.size() > 4 && low[3] == '(') {
            const size_t closeParen = low.find(')');
            if (closeParen == std::string::npos || closeParen > colon) return std::nullopt;
            v.type = std::uint32_t(std::strtoul(low.substr(4, closeParen - 4).c_str(), nullptr, 16));
        }
        std::string bytes = rest.substr(colon + 1);
        // A trailing "\" continues the list on the next line.
        while (!bytes.empty() && bytes.back() == '\\' && v.first + v.count < end &&
               hexListLine(lines[v.first + v.count])) {
            bytes.pop_back();
            bytes += trimBlanks(lines[v.first + v.count]);
            ++v.count;
        }
        int hi = -1;
        for (const char c : bytes) {
            const int d = hexDigit(c);
            if (d < 0) continue;
            if (hi < 0) hi = d;
            else {
                v.data += char(hi * 16 + d);
                hi = -1;
            }
        }
        return v;
    }
    return std::nullopt;
}

std::string regValueLine(const std::string& name, std::uint32_t type, const std::string& data) {
    std::string line = name.empty() ? "@" : "\"" + escapeRegString(name) + "\"";
    line += '=';
    if (type == reg::Sz) return line + "\"" + escapeRegString(data) + "\"";
    char buf[32];
    if (type == reg::Dword && data.size() == 4) {
        std::uint32_t n = 0;
        for (int b = 3; b >= 0; --b) n = (n << 8) | static_cast<unsigned char>(data[size_t(b)]);
        std::snprintf(buf, sizeof buf, "dword:%08x", n);
        return line + buf;
    }
    if (type == 3) line += "hex:";
    else {
        std::snprintf(buf, sizeof buf, "hex(%x):", unsigned(type));
        line += buf;
    }
    for (size_t i = 0; i < data.size(); ++i) {
        std::snprintf(buf, sizeof buf, i ? ",%02x" : "%02x", unsigned(static_cast<unsigned char>(data[i])));
        line += buf;
    }
    return line;
}

// Line index of the section header of key id, npos when there is none.
size_t findRegSection(const std::vector<std::string>& lines, const std::string& id) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto s = regSection(lines[i]);
        if (s && keyId(*s) == id) return i;
    }
    return std::string::npos;
}

size_t sectionEnd(const std::vector<std::string>& lines, size_t header) {
    size_t i = header + 1;
    while (i < lines.size() && !regSection(lines[i])) ++i;
    return i;
}

// Adds "[keyPath]" at the end when it has no section yet; returns the header's line.
size_t ensureRegSection(std::vector<std::string>& lines, const std::string& keyPath) {
    const size_t found = findRegSection(lines, keyId(keyPath));
    if (found != std::string::npos) return found;
    if (lines.empty()) {
        lines.push_back(kRegHeader);
        lines.push_back("");
    } else if (!trimBlanks(lines.back()).empty()) {
        lines.push_back("");
    }
    lines.push_back("[" + normalizeSubKey(keyPath) + "]");
    return lines.size() - 1;
}

void writeRegistry(const std::vector<std::string>& lines) { writeFileAtomic(registryPath(), joinLines(lines)); }

} // namespace

std::string configDir() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (home && *home) base = home;
        else if (const passwd* pw = ::getpwuid(::getuid())) base = pw->pw_dir;
        else throw RunError(err::PathNotFound, "No home folder to keep the settings in");
        base = joinPath(base, ".config");
    }
    return joinPath(base, "Korvex");
}

std::string escapeValue(const std::string& raw) { return escapeWith(raw, ""); }

std::string unescapeValue(const std::string& text) { return unescape(text); }

std::string iniValue(const std::vector<std::string>& lines, const std::string& section, const std::string& key) {
    bool inSection = false;
    for (const auto& line : lines) {
        if (const auto s = iniSection(line)) {
            inSection = equalsNoCase(*s, section);
            continue;
        }
        if (!inSection) continue;
        if (const auto p = iniPair(line); p && equalsNoCase(p->key, key)) return p->value;
    }
    return "";
}

void iniPut(std::vector<std::string>& lines, const std::string& section, const std::string& key,
            const std::string& value) {
    size_t header = std::string::npos;
    for (size_t i = 0; i < lines.size() && header == std::string::npos; ++i)
        if (const auto s = iniSection(lines[i]); s && equalsNoCase(*s, section)) header = i;

    if (header == std::string::npos) {
        if (!lines.empty() && !trimBlanks(lines.back()).empty()) lines.push_back("");
        lines.push_back("[" + escapeWith(section, "]") + "]");
        lines.push_back(escapeKey(key) + "=" + escapeValue(value));
        return;
    }
    size_t end = header + 1;
    while (end < lines.size() && !iniSection(lines[end])) ++end;
    size_t lastFilled = header;
    for (size_t i = header + 1; i < end; ++i) {
        if (!trimBlanks(lines[i]).empty()) lastFilled = i;
        if (const auto p = iniPair(lines[i]); p && equalsNoCase(p->key, key)) {
            // The key keeps the spelling it was first written with.
            lines[i] = p->rawKey + "=" + escapeValue(value);
            return;
        }
    }
    lines.insert(lines.begin() + std::ptrdiff_t(lastFilled + 1), escapeKey(key) + "=" + escapeValue(value));
}

std::string readSetting(const std::string& app, const std::string& section, const std::string& key) {
    return iniValue(readIfThere(settingsPath(app)), section, key);
}

void writeSetting(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& value) {
    const std::string path = settingsPath(app);
    makeDirs(configDir());
    FolderLock lock(configDir());
    auto lines = readIfThere(path);
    iniPut(lines, section, key, value);
    writeFileAtomic(path, joinLines(lines));
}

// --- registry ------------------------------------------------------------------------------------

const char* hiveName(Hive hive) {
    switch (hive) {
    case Hive::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case Hive::CurrentUser: return "HKEY_CURRENT_USER";
    case Hive::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case Hive::Users: return "HKEY_USERS";
    }
    throw RunError(err::InvalidCall);
}

std::string normalizeSubKey(const std::string& subKey) {
    std::string out;
    size_t start = 0;
    while (start <= subKey.size()) {
        size_t bs = subKey.find('\\', start);
        if (bs == std::string::npos) bs = subKey.size();
        if (bs > start) {
            if (!out.empty()) out += '\\';
            out += subKey.substr(start, bs - start);
        }
        start = bs + 1;
    }
    return out;
}

std::string registryPath() { return configDir() + "/registry.reg"; }

bool regHasKey(const std::vector<std::string>& lines, const std::string& keyPath) {
    const std::string id = keyId(keyPath);
    if (id.find('\\') == std::string::npos) return true; // a hive itself
    for (const auto& line : lines) {
        const auto s = regSection(line);
        if (!s) continue;
        const std::string other = keyId(*s);
        if (other == id || other.rfind(id + "\\", 0) == 0) return true;
    }
    return false;
}

bool regAddKey(std::vector<std::string>& lines, const std::string& keyPath) {
    if (regHasKey(lines, keyPath) || findRegSection(lines, keyId(keyPath)) != std::string::npos) return false;
    ensureRegSection(lines, keyPath);
    return true;
}

bool regGet(const std::vector<std::string>& lines, const std::string& keyPath, const std::string& name,
            std::uint32_t& type, std::string& data) {
    const size_t header = findRegSection(lines, keyId(keyPath));
    if (header == std::string::npos) return false;
    const size_t end = sectionEnd(lines, header);
    std::optional<RegValue> found;
    for (size_t i = header + 1; i < end; ++i) {
        const auto v = regValue(lines, i, end);
        if (!v) continue;
        i += v->count - 1;
        if (equalsNoCase(v->name, name)) found = v; // the last line of a name wins, as on import
    }
    if (!found || found->deleted) return false;
    type = found->type;
    data = found->data;
    return true;
}

void regPut(std::vector<std::string>& lines, const std::string& keyPath, const std::string& name,
            std::uint32_t type, const std::string& data) {
    const size_t header = ensureRegSection(lines, keyPath);
    const size_t end = sectionEnd(lines, header);
    std::optional<RegValue> found;
    size_t lastFilled = header;
    for (size_t i = header + 1; i < end; ++i) {
        if (!trimBlanks(lines[i]).empty()) lastFilled = i;
        const auto v = regValue(lines, i, end);
        if (!v) continue;
        i += v->count - 1;
        lastFilled = i;
        if (equalsNoCase(v->name, name)) found = v;
    }
    if (found) {
        // The value keeps the spelling of its name.
        const std::string line = regValueLine(found->name, type, data);
        lines.erase(lines.begin() + std::ptrdiff_t(found->first),
                    lines.begin() + std::ptrdiff_t(found->first + found->count));
        lines.insert(lines.begin() + std::ptrdiff_t(found->first), line);
    } else {
        lines.insert(lines.begin() + std::ptrdiff_t(lastFilled + 1), regValueLine(name, type, data));
    }
}

bool registryKeyExists(const std::string& keyPath) { return regHasKey(readIfThere(registryPath()), keyPath); }

void registryCreateKey(const std::string& keyPath) {
    if (registryKeyExists(keyPath)) return;
    makeDirs(configDir());
    FolderLock lock(configDir());
    auto lines = readIfThere(registryPath());
    if (regAddKey(lines, keyPath)) writeRegistry(lines);
}

bool registryQuery(const std::string& keyPath, const std::string& name, std::uint32_t& type, std::string& data) {
    return regGet(readIfThere(registryPath()), keyPath, name, type, data);
}

void registrySet(const std::string& keyPath, const std::string& name, std::uint32_t type, const std::string& data) {
    makeDirs(configDir());
    FolderLock lock(configDir());
    auto lines = readIfThere(registryPath());
    regPut(lines, keyPath, name, type, data);
    writeRegistry(lines);
}

} // namespace kx::real
