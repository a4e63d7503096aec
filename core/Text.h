#pragma once
// Text is kept as 8-bit bytes exactly as read; it becomes a QString only at a widget, through
// Windows-1252. Numbers follow the target platform's conversions: a leading blank for a
// non-negative number, the longest leading number when reading, half-to-even rounding.

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace kx {

// --- Windows-1252 at the widgets ------------------------------------------------------------
// What a widget shows: a text that is valid UTF-8 and holds a byte above 127 as UTF-8 (this
// machine's file names: "/home/Jos\xC3\xA9" reads "José"), any other as Windows-1252.
QString toUi(const std::string& bytes);
// Windows-1252 alone, whatever the bytes look like.
QString fromCp1252(const std::string& bytes);
// Characters outside Windows-1252 become "?".
std::string fromUi(const QString& text);
// A typed name that becomes a file or folder name: UTF-8, so the file on disk carries the
// name the user sees in every later listing.
std::string fromUiName(const QString& text);
// The same for a name the input box gave as Windows-1252.
std::string typedName(const std::string& cp1252);
bool isUtf8WithHighBytes(const std::string& bytes);

// --- lines ------------------------------------------------------------------------------
// Splits at CR LF, a lone LF or a lone CR; a final line end adds no empty line.
std::vector<std::string> splitLines(const std::string& bytes);
// Every line followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);
inline constexpr const char* CRLF = "\r\n";
// Values typed into single-line boxes and values written into key lines lose CR, LF and NUL.
std::string stripBreaks(const std::string& s);

// --- dates -------------------------------------------------------------------------------
// A date and time for a file or folder name or a log, with Latin digits in any locale
// (QDateTime's format: "yyyy-MM-dd HH-mm-ss"); UTF-8.
std::string timeStamp(const QDateTime& t, const QString& format);
// The date or time in the short form of a regional format: its order and separators, Latin
// digits in every locale (a locale's own digits would become "?" in a Windows-1252 file),
// without the writing-direction marks some formats carry; UTF-8.
std::string shortDate(const QDate& date, const QLocale& locale = QLocale::system());
std::string shortTime(const QTime& time, const QLocale& locale = QLocale::system());

// --- numbers -------------------------------------------------------------------------------
// " 53", "-1", " 0"; whole numbers only.
std::string numText(long long n);
// A double as the platform prints it: " 2.5", " 10", "-0.25".
std::string numText(double d);
// numText without its first character: " 28" -> "28", "-1" -> "1".
std::string numTextTrimmed(long long n);
// The longest leading number, blanks anywhere ignored; 0 when there is none.
double val(const std::string& s);
// Half to even; out of range raises run error 6.
std::int16_t toInt16(double d);
std::int32_t toInt32(double d);
long long roundHalfEven(double d);

// --- 8-bit text ------------------------------------------------------------------------------
// Case mapping as the display rule splits text: valid UTF-8 with a byte above 127 maps by its
// characters (a lower-cased UTF-8 path still names what it did), any other text by
// Windows-1252, byte for byte. Either way the text keeps its length in bytes.
std::string lcase(const std::string& s);
std::string ucase(const std::string& s);
bool equalsNoCase(const std::string& a, const std::string& b);
// 1-based, clamped like the platform's own: left("abc", 5) == "abc", mid("abc", 5) == "".
std::string left(const std::string& s, long long n);
std::string right(const std::string& s, long long n);
std::string mid(const std::string& s, long long start1, long long length = -1);
std::string trim(const std::string& s); // blanks only
// 1-based position of needle from start1, 0 when absent; instrRev searches from the end.
long long instr(const std::string& s, const std::string& needle, long long start1 = 1);
long long instrRev(const std::string& s, const std::string& needle);
std::string replaceAll(const std::string& s, const std::string& from, const std::string& to);

} // namespace kx
