#pragma once
// The link library file webshelf.xml: plain text, one folder or link a line, recognised by
// fixed columns of the lower-cased line (not parsed as XML). Folder lines give the tree's
// first level, link lines the second under the folder read last.

#include <string>
#include <vector>

namespace kx::webshelf {

inline constexpr const char* VoidTarget = "void"; // the row of a folder node

struct ShelfLink {
    std::string text;   // capitalised
    std::string target; // as written: a web address, or a local path made absolute
};

struct ShelfFolder {
    std::string name; // capitalised; also the node's key
    bool expanded = false;
    std::vector<ShelfLink> links;
};

// "my links" -> "My Links", "q&a" -> "Q&A", "e-mail" -> "E-Mail": the first character and the
// one after each "&", blank or "-" upper case, the rest lower case.
std::string capitaliseName(const std::string& text);

// The folders in the order of their first line. Keywords are matched on the lower-cased line
// and values taken from the line as written, so targets keep their case. A local link's
// target is its path resolved below baseDir. Lines that cannot be read as their kind are
// skipped: a folder line too short to hold a name (the links after it are skipped too, since
// no folder holds them), a link with fewer than four double quotes, a link before any folder.
// A folder name seen before adds its links to the earlier folder.
std::vector<ShelfFolder> parseWebshelf(const std::vector<std::string>& lines, const std::string& baseDir);

} // namespace kx::webshelf
