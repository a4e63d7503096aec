#include "core/Files.h"

#include "core/RunError.h"
#include "core/Text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kx {

namespace {

std::vector<std::string> components(const std::string& rel) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : rel) {
        if (c == '/' || c == '\\') {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

std::vector<std::string> entries(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    ::closedir(d);
    return names;
}

bool lessNoCase(const std::string& a, const std::string& b) {
    const std::string la = lcase(a), lb = lcase(b);
    return la != lb ? la < lb : a < b;
}

bool statOk(const std::string& p, struct stat& st) { return ::stat(p.c_str(), &st) == 0; }

// One component of a path against the disk: exact when it exists, else the first entry
// that matches ignoring case in name order, else as written.
std::string resolveComponent(const std::string& dir, const std::string& name) {
    if (name == "." || name == "..") return name;
    const std::string exact = joinPath(dir, name);
    struct stat st{};
    if (::lstat(exact.c_str(), &st) == 0) return name;
    auto names = entries(dir);
    std::sort(names.begin(), names.end(), lessNoCase);
    const std::string wanted = lcase(name);
    for (const auto& n : names)
        if (lcase(n) == wanted) return n;
    return name;
}

void writeAll(int fd, const std::string& bytes, const std::string& path) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw RunError::fromErrno(errno, path);
        }
        done += static_cast<size_t>(n);
    }
}

// Writes bytes to a new temporary file beside path and renames it over path.
void replaceFile(const std::string& path, const std::string& tempPath, const std::string& bytes) {
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw RunError::fromErrno(errno, tempPath);
    try {
        writeAll(fd, bytes, tempPath);
        if (::fsync(fd) != 0) throw RunError::fromErrno(errno, tempPath);
        // Keep the permissions of the file replaced.
        struct stat st{};
        if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
    } catch (...) {
        ::close(fd);
        ::unlink(tempPath.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(tempPath.c_str());
        throw RunError::fromErrno(e, tempPath);
    }
    if (::rename(tempPath.c_str(), path.c_str()) != 0) {
        const int e = errno;
        ::unlink(tempPath.c_str());
        throw RunError::fromErrno(e, path);
    }
}

} // namespace

std::string joinPath(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    if (a.back() == '/') return a + b;
    return a + "/" + b;
}

std::string resolvePath(const std::string& base, const std::string& rel) {
    std::string cur = base;
    for (const auto& c : components(rel)) cur = joinPath(cur, resolveComponent(cur.empty() ? "." : cur, c));
    return cur;
}

std::string resolvePath(const std::string& path) {
    if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return resolvePath("/", path.substr(1));
    std::string out;
    for (const auto& c : components(path)) out = out.empty() ? resolveComponent(".", c) : joinPath(out, resolveComponent(out, c));
    return out;
}

std::string parentDir(const std::string& path) {
    const auto p = path.find_last_of('/');
    if (p == std::string::npos) return "";
    if (p == 0) return "/";
    return path.substr(0, p);
}

std::string fileNameOf(const std::string& path) {
    const auto p = path.find_last_of("/\\");
    return p == std::string::npos ? path : path.substr(p + 1);
}

bool fileExists(const std::string& path) {
    struct stat st{};
    return statOk(path, st) && S_ISREG(st.st_mode);
}

bool dirExists(const std::string& path) {
    struct stat st{};
    return statOk(path, st) && S_ISDIR(st.st_mode);
}

long long fileLength(const std::string& path) {
    struct stat st{};
    if (!statOk(path, st)) throw RunError::fromErrno(errno, path);
    return static_cast<long long>(st.st_size);
}

std::string readFile(const std::string& path) {
    if (dirExists(path)) throw RunError(err::PathFileAccess);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw RunError::fromErrno(errno, path);
    std::string out;
    char buf[65536];
    while (true) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd);
            throw RunError::fromErrno(e, path);
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return out;
}

std::vector<std::string> readLines(const std::string& path) { return splitLines(readFile(path)); }

void writeFileAtomic(const std::string& path, const std::string& bytes) {
    const std::string dir = parentDir(path);
    const std::string temp = joinPath(dir.empty() ? "." : dir, "." + fileNameOf(path) + ".tmp" + std::to_string(::getpid()));
    replaceFile(path, temp, bytes);
}

void writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines) {
    writeFileAtomic(path, joinLines(lines));
}

void appendLine(const std::string& path, const std::string& line) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) throw RunError::fromErrno(errno, path);
    try {
        writeAll(fd, line + CRLF, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) throw RunError::fromErrno(errno, path);
}

int rewriteKeyLines(const std::string& path, const std::string& tempName, size_t prefixLen,
                    const std::string& key, const std::string& newLine) {
    const auto lines = readLines(path);
    std::vector<std::string> out;
    out.reserve(lines.size());
    int replaced = 0;
    for (const auto& l : lines) {
        if (key.size() >= prefixLen && l.substr(0, prefixLen) == key.substr(0, prefixLen)) {
            out.push_back(newLine);
            ++replaced;
        } else {
            out.push_back(l);
        }
    }
    const std::string dir = parentDir(path);
    replaceFile(path, joinPath(dir.empty() ? "." : dir, tempName), joinLines(out));
    return replaced;
}

void makeDir(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) != 0) throw RunError::fromErrno(errno, path);
}

void removeDir(const std::string& path) {
    if (::rmdir(path.c_str()) != 0) throw RunError::fromErrno(errno, path);
}

void removeFile(const std::string& path) {
    if (dirExists(path)) throw RunError(err::PathFileAccess);
    if (::unlink(path.c_str()) != 0) throw RunError::fromErrno(errno, path);
}

void renameFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) throw RunError::fromErrno(errno, from);
}

void copyFileNoOverwrite(const std::string& from, const std::string& to) {
    const std::string bytes = readFile(from);
    const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) throw RunError::fromErrno(errno, to);
    try {
        writeAll(fd, bytes, to);
        if (::fsync(fd) != 0) throw RunError::fromErrno(errno, to);
    } catch (...) {
        ::close(fd);
        ::unlink(to.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        ::unlink(to.c_str());
        throw RunError::fromErrno(errno, to);
    }
}

void moveFileNoOverwrite(const std::string& from, const std::string& to) {
    // link never replaces an existing name; a symbolic link source gives its file.
    if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        removeFile(from);
        return;
    }
    const int e = errno;
    // Another disk, or one without hard links (FAT): copy, then delete.
    if (e != EXDEV && e != EPERM && e != ENOTSUP && e != EMLINK && e != ENOSYS) throw RunError::fromErrno(e, to);
    copyFileNoOverwrite(from, to);
    removeFile(from);
}

bool matchesPattern(const std::string& name, const std::string& pattern) {
    if (pattern == "*.*" || pattern == "*") return true;
    const std::string n = lcase(name), p = lcase(pattern);
    // Iterative wildcard match with one backtrack point.
    size_t i = 0, j = 0, star = std::string::npos, mark = 0;
    while (i < n.size()) {
        if (j < p.size() && (p[j] == '?' || p[j] == n[i])) {
            ++i;
            ++j;
        } else if (j < p.size() && p[j] == '*') {
            star = j++;
            mark = i;
        } else if (star != std::string::npos) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (j < p.size() && p[j] == '*') ++j;
    return j == p.size();
}

std::vector<std::string> listFiles(const std::string& dir, const std::string& pattern, bool includeHidden) {
    std::vector<std::string> out;
    for (const auto& n : entries(dir)) {
        if (!includeHidden && n[0] == '.') continue;
        struct stat st{};
        if (!statOk(joinPath(dir, n), st) || !S_ISREG(st.st_mode)) continue;
        if (matchesPattern(n, pattern)) out.push_back(n);
    }
    std::sort(out.begin(), out.end(), lessNoCase);
    return out;
}

std::vector<std::string> listFolders(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& n : entries(dir)) {
        if (n[0] == '.') continue;
        struct stat st{};
        if (statOk(joinPath(dir, n), st) && S_ISDIR(st.st_mode)) out.push_back(n);
    }
    std::sort(out.begin(), out.end(), lessNoCase);
    return out;
}

bool isValidFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name) {
        if (c < 32 || c == 127) return false;
        if (std::strchr("\\/:*?\"<>|", c)) return false;
    }
    return true;
}

} // namespace kx
