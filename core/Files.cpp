#include "core/Files.h"

#include "core/RunError.h"
#include "core/Text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstring>

#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
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

std::string folderOf(const std::string& path) {
    const std::string dir = parentDir(path);
    return dir.empty() ? "." : dir;
}

// The file a path names after its symbolic links are followed: a link stays, its target is
// what gets written. A dangling link gives the path it points to (a new file there).
std::string followLinks(const std::string& path) {
    std::string cur = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st{};
        if (::lstat(cur.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return cur;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(cur.c_str(), target.data(), target.size());
        if (n < 0) throw RunError::fromErrno(errno, cur);
        target.resize(static_cast<size_t>(n));
        cur = !target.empty() && target[0] == '/' ? target : joinPath(parentDir(cur), target);
    }
    throw RunError(err::PathFileAccess); // a loop of links
}

// The owner's write bit decides, as the target platform's read-only attribute does (root
// passes every permission check, so access() alone would let it replace a read-only file).
void requireWritable(const std::string& path, const struct stat& st) {
    if (!(st.st_mode & S_IWUSR)) throw RunError(err::PermissionDenied);
    if (::access(path.c_str(), W_OK) != 0) throw RunError::fromErrno(errno, path);
}

// A new file (a temporary one too) may be made in the folder of path.
void requireFolderWritable(const std::string& path) {
    const std::string dir = folderOf(path);
    struct stat st{};
    if (::stat(dir.c_str(), &st) != 0) throw RunError::fromErrno(errno, path);
    if (!S_ISDIR(st.st_mode)) throw RunError(err::PathNotFound);
    requireWritable(dir, st);
}

// The old file at path, when there is one: a regular file the user may write.
bool existingTarget(const std::string& path, struct stat& st) {
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return false;
        throw RunError::fromErrno(errno, path);
    }
    if (!S_ISREG(st.st_mode)) throw RunError(err::PathFileAccess);
    requireWritable(path, st);
    return true;
}

// Opens a regular file for reading without waiting: a pipe or device opens at once with
// O_NONBLOCK and is then refused.
int openRegular(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) throw RunError::fromErrno(errno, path);
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw RunError(err::PathFileAccess);
    }
    return fd;
}

const char kTempMark[] = ".tmp";

// A short hash of a file's name: its temporaries carry it, so they can be found again
// without the name itself (which may already fill the file system's limit).
std::string nameHash(const std::string& name) {
    std::uint32_t h = 2166136261u; // FNV-1a
    for (unsigned char c : name) {
        h ^= c;
        h *= 16777619u;
    }
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (int shift = 28; shift >= 0; shift -= 4) out += hex[(h >> shift) & 0xF];
    return out;
}

void randomBytes(unsigned char* raw, size_t size, const std::string& forName) {
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::getrandom(raw + got, size - got, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw RunError::fromErrno(errno, forName);
        }
        got += static_cast<size_t>(n);
    }
}

// "." hash ".tmp" and twelve random letters: 25 bytes whatever the name's length, so a name
// the file system takes can always be written, and no other user can plant anything where
// the temporary will be made.
std::string tempPrefixFor(const std::string& name) { return "." + nameHash(name) + kTempMark; }

std::string tempNameFor(const std::string& name) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char raw[12];
    randomBytes(raw, sizeof raw, name);
    std::string out = tempPrefixFor(name);
    for (unsigned char c : raw) out += letters[c % 36];
    return out;
}

// Temporaries of name left by a writer that was killed: ours by their name, and old enough
// (a minute) that no write can still be under way.
void removeStaleTemps(const std::string& dir, const std::string& name) {
    const std::string prefix = tempPrefixFor(name);
    const time_t now = ::time(nullptr);
    for (const auto& e : entries(dir)) {
        if (e.size() != prefix.size() + 12 || e.compare(0, prefix.size(), prefix) != 0) continue;
        const bool ours = std::all_of(e.begin() + std::ptrdiff_t(prefix.size()), e.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
        });
        if (!ours) continue;
        const std::string p = joinPath(dir, e);
        struct stat st{};
        if (::lstat(p.c_str(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) continue;
        if (now - st.st_mtime > 60) ::unlink(p.c_str());
    }
}

// The process's umask, read without changing it (other threads may be making files).
mode_t currentUmask() {
    try {
        for (const auto& l : splitLines(readFile("/proc/self/status")))
            if (l.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::stoul(l.substr(6), nullptr, 8) & 0777);
    } catch (...) {
    }
    const mode_t m = ::umask(022);
    ::umask(m);
    return m;
}

void syncFolder(const std::string& dir) {
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

// Makes a new file at path (never through anything planted there: O_EXCL|O_NOFOLLOW), writes
// bytes and flushes them. keep (when given) lends its permission bits and times, as a copy
// keeps them. A failure removes what was made.
void writeNewFile(const std::string& path, const std::string& bytes, const struct stat* keep = nullptr) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) throw RunError::fromErrno(errno, path);
    try {
        writeAll(fd, bytes, path);
        if (keep) {
            if (::fchmod(fd, keep->st_mode & 07777) != 0) throw RunError::fromErrno(errno, path);
            const struct timespec times[2] = {keep->st_atim, keep->st_mtim};
            if (::futimens(fd, times) != 0) throw RunError::fromErrno(errno, path);
        }
        if (::fsync(fd) != 0) throw RunError::fromErrno(errno, path);
    } catch (...) {
        ::close(fd);
        ::unlink(path.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(path.c_str());
        throw RunError::fromErrno(e, path);
    }
}

// Writes bytes to a new temporary file beside the target of path and renames it over the
// target. tempName "" gives an unpredictable name; a fixed one is removed first. Either way
// the temporary is made with O_EXCL|O_NOFOLLOW, so nothing planted there is followed.
// The file a whole-file write replaces: a link is followed (it stays a link), an old file
// must carry its owner's write bit and be a regular file, and its folder must take a new file.
struct Target {
    std::string path, dir;
    struct stat old{};
    bool had = false;
};

Target wholeFileTarget(const std::string& path) {
    Target t;
    t.path = followLinks(path);
    t.dir = folderOf(t.path);
    t.had = existingTarget(t.path, t.old);
    requireFolderWritable(t.path);
    return t;
}

void replaceFile(const std::string& path, const std::string& tempName, const std::string& bytes) {
    const Target t = wholeFileTarget(path);
    const std::string& target = t.path;
    const std::string& dir = t.dir;
    const struct stat& old = t.old;
    const bool had = t.had;

    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    const mode_t mode = had ? 0600 : 0666; // a new file: 0666 less the umask
    std::string temp;
    int fd = -1;
    if (!tempName.empty()) {
        temp = joinPath(dir, tempName);
        if (::unlink(temp.c_str()) != 0 && errno != ENOENT) throw RunError::fromErrno(errno, temp);
        fd = ::open(temp.c_str(), flags, mode);
    } else {
        for (int tries = 0; tries < 16 && fd < 0; ++tries) {
            temp = joinPath(dir, tempNameFor(fileNameOf(target)));
            fd = ::open(temp.c_str(), flags, mode);
            if (fd < 0 && errno != EEXIST) break;
        }
    }
    if (fd < 0) throw RunError::fromErrno(errno, temp);
    try {
        writeAll(fd, bytes, temp);
        if (had) {
            // The replaced file's owner and permission bits stay.
            if (::fchown(fd, old.st_uid, old.st_gid) != 0) { /* not ours to give away: keep ours */ }
            if (::fchmod(fd, old.st_mode & 07777) != 0) throw RunError::fromErrno(errno, temp);
        }
        if (::fsync(fd) != 0) throw RunError::fromErrno(errno, temp);
    } catch (...) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        throw RunError::fromErrno(e, temp);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        throw RunError::fromErrno(e, target);
    }
    syncFolder(dir);
    removeStaleTemps(dir, fileNameOf(target));
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
    // A "\" in a data value is a separator; but a path built from the base directory may hold
    // one in a folder's own name (".../back\slash"): a piece between "/" that exists exactly
    // as written is used byte for byte, as an exact match always wins.
    std::string cur;
    size_t pos = 0;
    if (!path.empty() && (path[0] == '/' || path[0] == '\\')) {
        cur = "/";
        pos = 1;
    }
    while (pos < path.size()) {
        size_t slash = path.find('/', pos);
        if (slash == std::string::npos) slash = path.size();
        const std::string piece = path.substr(pos, slash - pos);
        pos = slash + 1;
        if (piece.empty()) continue;
        struct stat st{};
        const std::string whole = cur.empty() ? piece : joinPath(cur, piece);
        if (piece.find('\\') != std::string::npos && ::lstat(whole.c_str(), &st) == 0) {
            cur = whole;
            continue;
        }
        for (const auto& c : components(piece))
            cur = cur.empty() ? resolveComponent(".", c) : joinPath(cur, resolveComponent(cur, c));
    }
    return cur;
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
    const int fd = openRegular(path);
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

void writeFileAtomic(const std::string& path, const std::string& bytes) { replaceFile(path, "", bytes); }

std::string tempFileName(const std::string& name) { return tempNameFor(name); }

void writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines) {
    writeFileAtomic(path, joinLines(lines));
}

void appendLines(const std::string& path, const std::vector<std::string>& lines, bool startOnNewLine) {
    const std::string target = followLinks(path);
    struct stat st{};
    if (!existingTarget(target, st)) requireFolderWritable(target);
    // O_NONBLOCK: a pipe put in the file's place never makes us wait; it is refused below.
    // The last byte is read back only when the line start is to be checked.
    const int access = startOnNewLine ? O_RDWR : O_WRONLY;
    const int fd = ::open(target.c_str(), access | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) throw RunError::fromErrno(errno, target);
    auto fail = [&](const RunError& e) {
        ::close(fd);
        throw e;
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) fail(RunError(err::PathFileAccess));
    // Appenders of one file take turns, so that the line-start check and the write are one step
    // and a failed write can be taken back without cutting another's lines.
    while (::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR) fail(RunError::fromErrno(errno, target));
    if (::fstat(fd, &st) != 0) fail(RunError::fromErrno(errno, target));
    const off_t oldSize = st.st_size;
    std::string bytes;
    if (startOnNewLine && oldSize > 0) {
        char last = '\n';
        if (::pread(fd, &last, 1, oldSize - 1) == 1 && last != '\n' && last != '\r') bytes += CRLF;
    }
    for (const auto& l : lines) bytes += l + CRLF;
    try {
        writeAll(fd, bytes, target);
    } catch (const RunError& e) {
        // A part-write (disk full, file size limit) is taken back: no torn line stays.
        if (::ftruncate(fd, oldSize) != 0) { /* nothing more can be done */ }
        fail(e);
    }
    if (::close(fd) != 0) throw RunError::fromErrno(errno, target);
}

void appendLine(const std::string& path, const std::string& line) { appendLines(path, {line}); }

std::vector<std::string> rewrittenKeyLines(const std::vector<std::string>& lines, size_t prefixLen,
                                           const std::string& key, const std::string& newLine, int* replaced) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    int n = 0;
    for (const auto& l : lines) {
        if (key.size() >= prefixLen && l.substr(0, prefixLen) == key.substr(0, prefixLen)) {
            out.push_back(newLine);
            ++n;
        } else {
            out.push_back(l);
        }
    }
    if (replaced) *replaced = n;
    return out;
}

int rewriteKeyLines(const std::string& path, const std::string& tempName, size_t prefixLen,
                    const std::string& key, const std::string& newLine) {
    int replaced = 0;
    const auto out = rewrittenKeyLines(readLines(path), prefixLen, key, newLine, &replaced);
    // No name given: a temporary of the short unpredictable kind.
    replaceFile(path, tempName.empty() ? "" : fileNameOf(tempName), joinLines(out));
    return replaced;
}

void writeWorkFile(const std::string& path, const std::string& bytes) {
    requireFolderWritable(path);
    // Whatever stands at the name goes first, a link as the link: nothing is written through it.
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw RunError::fromErrno(errno, path);
    writeNewFile(path, bytes);
}

void writeWorkLines(const std::string& path, const std::vector<std::string>& lines) {
    writeWorkFile(path, joinLines(lines));
}

void replaceFileWith(const std::string& from, const std::string& to) {
    struct stat src{};
    if (::lstat(from.c_str(), &src) != 0) throw RunError::fromErrno(errno, from);
    if (!S_ISREG(src.st_mode)) throw RunError(err::PathFileAccess); // a link is no complete file
    const Target t = wholeFileTarget(to);
    if (t.had && t.old.st_dev == src.st_dev && t.old.st_ino == src.st_ino) return; // the same file
    if (t.had) {
        // The replaced file's owner and permission bits stay.
        if (::chown(from.c_str(), t.old.st_uid, t.old.st_gid) != 0) { /* not ours to give away */ }
        if (::chmod(from.c_str(), t.old.st_mode & 07777) != 0) throw RunError::fromErrno(errno, from);
    } else if (::chmod(from.c_str(), 0666 & ~currentUmask()) != 0) {
        throw RunError::fromErrno(errno, from);
    }
    if (::rename(from.c_str(), t.path.c_str()) == 0) {
        syncFolder(t.dir);
        if (folderOf(from) != t.dir) syncFolder(folderOf(from));
        return;
    }
    if (errno != EXDEV) throw RunError::fromErrno(errno, t.path);
    // The link named a file on another disk: written whole there, then the work file goes.
    replaceFile(t.path, "", readFile(from));
    if (::unlink(from.c_str()) != 0) throw RunError::fromErrno(errno, from);
}

std::string keepCopyBeforeReplace(const std::string& path, const std::string& newBytes, const std::string& stamp) {
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return "";
        throw RunError::fromErrno(errno, path);
    }
    if (!S_ISREG(st.st_mode)) return "";
    const std::string bytes = readFile(path);
    if (bytes == newBytes) return "";
    requireFolderWritable(path);
    const std::string base = path + "." + stamp;
    for (int n = 1;; ++n) {
        const std::string kept = n == 1 ? base : base + "-" + std::to_string(n);
        struct stat taken{};
        if (::lstat(kept.c_str(), &taken) == 0) continue;
        try {
            writeNewFile(kept, bytes, &st);
        } catch (const RunError&) {
            if (::lstat(kept.c_str(), &taken) == 0 && n < 1000) continue; // taken meanwhile
            throw;
        }
        syncFolder(folderOf(kept));
        return kept;
    }
}

void makeDir(const std::string& path) {
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT) requireFolderWritable(path);
    if (::mkdir(path.c_str(), 0755) != 0) throw RunError::fromErrno(errno, path);
}

void removeDir(const std::string& path) {
    if (::rmdir(path.c_str()) != 0) throw RunError::fromErrno(errno, path);
}

void removeFile(const std::string& path) {
    if (dirExists(path)) throw RunError(err::PathFileAccess);
    if (::unlink(path.c_str()) != 0) throw RunError::fromErrno(errno, path);
}

void copyFileNoOverwrite(const std::string& from, const std::string& to) {
    const std::string bytes = readFile(from);
    struct stat st{};
    if (::lstat(to.c_str(), &st) == 0) throw RunError(err::PathFileAccess);
    requireFolderWritable(to);
    writeNewFile(to, bytes);
}

void moveFileNoOverwrite(const std::string& from, const std::string& to, bool* arrived) {
    if (arrived) *arrived = false;
    struct stat src{};
    if (::lstat(from.c_str(), &src) != 0) throw RunError::fromErrno(errno, from);
    if (S_ISDIR(src.st_mode)) throw RunError(err::PathFileAccess);
    struct stat st{};
    if (::lstat(to.c_str(), &st) == 0) throw RunError(err::PathFileAccess);
    requireFolderWritable(to);
    // A new name for the same file (a link stays the link); never over an existing name.
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        if (arrived) *arrived = true;
        return;
    }
    int e = errno;
    if (e == EINVAL || e == ENOSYS || e == ENOTSUP) {
        // A file system without that rename: a second name (of the link itself, flags 0), then
        // the first one goes.
        if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) == 0) {
            if (arrived) *arrived = true;
            removeFile(from);
            return;
        }
        e = errno;
        if (e != EPERM && e != ENOTSUP && e != EMLINK && e != ENOSYS) throw RunError::fromErrno(e, to);
    } else if (e != EXDEV) {
        throw RunError::fromErrno(e, to);
    }
    // Another disk (or one without hard links): copy, keeping times and permission bits, then
    // delete. A link is made anew as the same link.
    if (S_ISLNK(src.st_mode)) {
        std::string target(static_cast<size_t>(src.st_size > 0 ? src.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(from.c_str(), target.data(), target.size());
        if (n < 0) throw RunError::fromErrno(errno, from);
        target.resize(static_cast<size_t>(n));
        if (::symlink(target.c_str(), to.c_str()) != 0) throw RunError::fromErrno(errno, to);
        const struct timespec times[2] = {src.st_atim, src.st_mtim};
        ::utimensat(AT_FDCWD, to.c_str(), times, AT_SYMLINK_NOFOLLOW);
    } else {
        writeNewFile(to, readFile(from), &src);
    }
    syncFolder(folderOf(to));
    if (arrived) *arrived = true;
    if (::unlink(from.c_str()) != 0) throw RunError::fromErrno(errno, from);
}

void requireRegularFile(const std::string& path) { ::close(openRegular(path)); }

bool isUsableDiskName(const std::string& name, bool goesIntoLine) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.find_first_of("/\\") != std::string::npos) return false;
    if (goesIntoLine && name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return false;
    return true;
}

std::string localFileUrl(const std::string& path) {
    std::string abs = path;
    if (abs.empty() || abs[0] != '/') {
        std::string cwd(4096, '\0');
        if (::getcwd(cwd.data(), cwd.size())) abs = joinPath(cwd.c_str(), path);
    }
    // Everything but the unreserved characters, "/" and a few safe sub-delimiters is
    // percent-encoded byte by byte: blanks, "#", "?", "%", controls, bytes above 127.
    static const char hex[] = "0123456789ABCDEF";
    std::string out = "file://";
    for (unsigned char c : abs) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           std::strchr("-._~/!$&'()*+,;=:@", c) != nullptr;
        if (plain && c != 0) {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    return out;
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
