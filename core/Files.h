#pragma once
// Paths and files as the suite uses them. Paths are built with "/" from the base directory;
// a "\" in a data value is a separator too, and every component is matched against the disk
// ignoring case, because the programs spell one folder with different capitals.
// Failures raise RunError with the target platform's numbers.

#include <functional>
#include <string>
#include <vector>

namespace kx {

// base joined with rel ("korvex.wfd\\config\\korvex.cfg" or "korvex.wfd/config"), each
// component of rel resolved against the disk ignoring case (an exact match wins, else the
// first match in name order); components that do not exist are kept as written. base (the
// command line, the current folder) is used byte for byte: a "\" there is no separator.
std::string resolvePath(const std::string& base, const std::string& rel);
// The same for one complete path; a relative one is taken from the current directory. A piece
// between "/" that holds a "\\" and exists exactly as written (a folder of the base directory)
// is kept as it is.
std::string resolvePath(const std::string& path);
// Joins with one "/" and no resolution (for paths that must not follow case: copy targets).
std::string joinPath(const std::string& a, const std::string& b);
std::string parentDir(const std::string& path);
std::string fileNameOf(const std::string& path);

bool fileExists(const std::string& path); // a regular file
bool dirExists(const std::string& path);
long long fileLength(const std::string& path); // raises 53 when missing

// Whole reads of regular files only: a folder, pipe or device in the file's place is 75 at
// once, never a wait. Otherwise 53/76/70 as errno gives.
std::string readFile(const std::string& path);
std::vector<std::string> readLines(const std::string& path);

// Every writer below follows a symbolic link at path (the link stays, its target is written)
// and refuses with 70 a target without its owner's write bit, or a new file in a folder
// without it, leaving everything as it was.
//
// Written to a temporary file of a short unpredictable name (".<hash of name>.tmp<random>",
// 25 bytes for any name, made with O_EXCL|O_NOFOLLOW) in the target's folder, flushed, then renamed over the target, which
// keeps its permission bits (a new file gets 0666 less the umask): a failure at any point
// leaves the old file byte-identical and no temporary file behind. After a success, the
// temporaries of the same file older than a minute (of a writer that was killed) are removed.
void writeFileAtomic(const std::string& path, const std::string& bytes);
// A fresh temporary name of that kind for a file named name (no folder).
std::string tempFileName(const std::string& name);
void writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines);

// Appends the lines, each + CR LF, with one write in O_APPEND mode (created when missing)
// while holding an exclusive lock, so appenders of one file never lose or mix lines. When
// startOnNewLine and the file's last line has no line end, CR LF goes first. A write that
// fails part-way (disk full) truncates the file back to its old size. Only regular files.
void appendLines(const std::string& path, const std::vector<std::string>& lines, bool startOnNewLine = false);
// appendLines with one line.
void appendLine(const std::string& path, const std::string& line);

// The lines rewriteKeyLines writes: every line whose first prefixLen characters equal key
// becomes newLine. replaced (when given) receives their number.
std::vector<std::string> rewrittenKeyLines(const std::vector<std::string>& lines, size_t prefixLen,
                                           const std::string& key, const std::string& newLine,
                                           int* replaced = nullptr);

// Rewrites every line whose first prefixLen characters equal key (case-sensitive) as
// newLine, copying all other lines byte for byte, every line ended by CR LF. The copy is
// written completely to tempName in the same folder (whatever stands under that fixed name
// is removed first, never followed; "" gives a short unpredictable name as writeFileAtomic
// makes), then renamed over the original; the
// original is never deleted first. On failure the original stays as it was, the temporary
// file is removed, and the RunError is raised. Returns the number of lines replaced.
int rewriteKeyLines(const std::string& path, const std::string& tempName, size_t prefixLen,
                    const std::string& key, const std::string& newLine);

// A work file the program makes for itself and removes later: made anew. Whatever stands at
// the name (a symbolic link too, never followed; a folder is 75) is removed first, then the
// file is created with O_CREAT|O_EXCL|O_NOFOLLOW (0666 less the umask) and written; a failed
// write removes it again. A folder without its owner's write bit is refused with 70.
void writeWorkFile(const std::string& path, const std::string& bytes);
void writeWorkLines(const std::string& path, const std::vector<std::string>& lines); // CR LF each

// Renames the complete regular file from (a work file; a link there is 75) over the file the
// user keeps at to, with the rules of writeFileAtomic: to without its owner's write bit, or a
// folder without it, is refused with 70 and nothing changes; a link at to stays and the file
// it names is replaced, keeping its permission bits; a new to gets 0666 less the umask.
// Across file systems (a link to another disk) the bytes are written whole there and from is
// removed.
void replaceFileWith(const std::string& from, const std::string& to);

// Before path is replaced by newBytes: when it is a regular file holding other bytes, copies
// it to path + "." + stamp (never over anything: "-2", "-3" ... are added to a name taken),
// keeping its permission bits and times, and returns that path; "" when nothing was kept
// (missing, not a regular file, the same bytes). Raises when the copy fails: then the caller
// must not replace.
std::string keepCopyBeforeReplace(const std::string& path, const std::string& newBytes, const std::string& stamp);

void makeDir(const std::string& path);    // raises 75 when it exists, 76 when the parent is missing
void removeDir(const std::string& path);  // an empty folder; raises as errno gives
void removeFile(const std::string& path); // raises 53 when missing
// Copies without overwriting: raises 75 when to exists (its case is not resolved).
void copyFileNoOverwrite(const std::string& from, const std::string& to);
// Moves without overwriting: a new name for the same file on the same disk (nothing copied;
// a symbolic link is moved as the link, never the file it names), else a copy that keeps the
// modification time and permission bits (a link made anew as the same link) and then the
// delete of from. Raises 75 when to exists (its case is not resolved). *arrived is set once
// the file is complete at to, also when the delete of from then fails and raises (the file
// is in both places), so the caller can say it was copied before it shows the failure.
void moveFileNoOverwrite(const std::string& from, const std::string& to, bool* arrived = nullptr);

// The regular-file rule for a file handed on by name (a local page to a viewer or engine):
// 53/76 when missing, 75 for a folder, pipe or device (never a wait), 70 when unreadable.
void requireRegularFile(const std::string& path);

// The address handed to the desktop or a page viewer for a local file: "file://" and the
// absolute path's bytes, percent-encoded where needed (blanks, "#", "?", "%", controls, bytes
// above 127), so the address names exactly these bytes whatever they are.
std::string localFileUrl(const std::string& path);

// Regular files of dir matching a pattern ("*.spi", "Aphex.exe", "*.*" = every file),
// ignoring case, in case-insensitive name order. Hidden files only when asked.
std::vector<std::string> listFiles(const std::string& dir, const std::string& pattern,
                                   bool includeHidden = false);
// Sub-folders of dir, leaving out "."-folders, in case-insensitive name order.
std::vector<std::string> listFolders(const std::string& dir);
// Wildcard match ignoring case: "*" any run, "?" one character; "*.*" matches every name.
bool matchesPattern(const std::string& name, const std::string& pattern);

// A name typed by the user that becomes a file name: refused when it holds \ / : * ? " < > |,
// a control character, is empty, or is "." or "..".
bool isValidFileName(const std::string& name);
// A name found on disk (a plug-in description, skin folder, server set) is used as it is
// unless it holds a path (empty, "/" or "\\", "." or "..") or, when it goes into a line of a
// file, CR, LF or NUL.
bool isUsableDiskName(const std::string& name, bool goesIntoLine);

} // namespace kx
