#pragma once
// The script editor's plain routines: the eight script kinds, the placeholder codes of every
// load, the editor text as file lines, and the path the editor records for a script.

#include <QLocale>
#include <QString>

#include <array>
#include <optional>
#include <string>
#include <vector>

class QDateTime;

namespace kx::quillroom {

inline const std::string AppTitle = "Korvex3.1 Script Administration Utillity";
inline const std::string EditingSuffix = " - scripting.";

struct ScriptKind {
    const char* chooserText;
    const char* headerFile;   // in korvex.wfd/templates/scripts/header
    const char* templateFile; // in korvex.wfd/templates/scripts
    const char* title;        // what "%1" inserts
    const char* defaultName;  // proposed by the save dialog
    const char* saveFolder;   // below the base directory
    bool nameEditable;
    bool folderEditable;
};

// In the chooser's order: the list index is the kind number.
const std::array<ScriptKind, 8>& scriptKinds();
inline bool isKind(int kind) { return kind >= 0 && kind < 8; }

inline const std::string TemplateFolder = "korvex.wfd/templates/scripts";
inline const std::string CommonHeader = "scripts.hdr";

// What the three codes at column 15 insert: "%1" the title, "%2" the player name, "%3" the
// time and date.
struct Placeholders {
    std::string title, playerName, timeAndDate;
};
// "<time> / <date>" in the regional short formats, with Latin digits in every locale: a format
// that writes digits of its own would put a row of "?" into the script.
std::string timeAndDateText(const QDateTime& when, const QLocale& locale = QLocale::system());

// What becomes of a line with a "%" at column 15 and a code other than 1, 2 or 3: a template
// leaves it out; an opened file keeps it whole, or saving would lose the user's line.
enum class OtherCodes { Drop, Keep };
// A line whose 15th character is "%" followed by 1, 2 or 3 becomes its first 14 characters and
// what its code inserts; other codes as `other` says; every other line stays as it is.
std::vector<std::string> fillPlaceholders(std::vector<std::string> lines, const Placeholders& codes,
                                          OtherCodes other = OtherCodes::Drop);

// The editor's text for file lines (Windows-1252, one line break after each line), and the
// file lines for the editor's raw text (paragraph and line separators as breaks). Together
// they give a file back byte for byte: no-break spaces and every 8-bit character survive.
QString editorText(const std::vector<std::string>& lines);
std::vector<std::string> scriptLines(const QString& rawText);

// The path of a script relative to the base directory, starting with a separator
// ("/korvex.wfd/config/autoexec.ini"): the part below korvexDir when fullPath lies below it,
// else the part from the last whole "korvex.wfd" segment; nullopt when neither.
std::optional<std::string> FindScriptPath(const std::string& korvexDir, const std::string& fullPath);

// The first-dot caption of a menu item made from a file name ("my.tool.spi" shows "my").
std::string menuCaption(const std::string& fileName);

} // namespace kx::quillroom
