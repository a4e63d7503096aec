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
// first match in name order); components that do not exist are kept as written.
std::string resolvePath(const std::string& base, const std::string& rel);
// The same for one complete path; a relative one is taken from the current directory.
std::string resolvePath(const std::string& path);
// Joins with one "/" and no resolution (for paths that must not follow case: copy targets).
std::string joinPath(const std::string& a, const std::string& b);
std::string parentDir(const std::string& path);
std::string fileNameOf(const std::string& path);

bool fileExists(const std::string& path); // a regular file
bool dirExists(const std::string& path);
long long fileLength(const std::string& path); // raises 53 when missing

// Whole reads; raise 53/76/70/75 as errno gives.
std::string readFile(const std::string& path);
std::vector<std::string> readLines(const std::string& path);

// Written to a temporary file in the same folder, flushed, then renamed over path: a
// failure at any point leaves the old file byte-identical and no temporary file behind.
void writeFileAtomic(const std::string& path, const std::string& bytes);
void writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines);

// Opens path for appending (created when missing), writes line + CR LF, closes.
void appendLine(const std::string& path, const std::string& line);

// Rewrites every line whose first prefixLen characters equal key (case-sensitive) as
// newLine, copying all other lines byte for byte, every line ended by CR LF. The copy is
// written completely to tempName in the same folder, then renamed over the original; the
// original is never deleted first. On failure the original stays as it was, the temporary
// file is removed, and the RunError is raised. Returns the number of lines replaced.
int rewriteKeyLines(const std::string& path, const std::string& tempName, size_t prefixLen,
                    const std::string& key, const std::string& newLine);

void makeDir(const std::string& path);    // raises 75 when it exists, 76 when the parent is missing
void removeDir(const std::string& path);  // an empty folder; raises as errno gives
void removeFile(const std::string& path); // raises 53 when missing
void renameFile(const std::string& from, const std::string& to);
// Copies without overwriting: raises 75 when to exists (its case is not resolved).
void copyFileNoOverwrite(const std::string& from, const std::string& to);
// Moves without overwriting: a new name for the same file on the same disk (nothing copied,
// nothing created but the name), else a copy and then the delete of from. Raises 75 when to
// exists (its case is not resolved); when the delete fails the file is in both places.
void moveFileNoOverwrite(const std::string& from, const std::string& to);

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

} // namespace kx
