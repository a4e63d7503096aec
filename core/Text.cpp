#include "core/Text.h"

#include "core/RunError.h"

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <limits>

namespace kx {

namespace {
// Windows-1252 0x80..0x9F; 0 marks the five unassigned codes, which map to themselves.
const char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char toLowerByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return char(c + 32);
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return char(c + 32);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return char(c + 0x10);
    if (c == 0x9F) return char(0xFF);
    return char(c);
}

char toUpperByte(unsigned char c) {
    if (c >= 'a' && c <= 'z') return char(c - 32);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return char(c - 32);
    if (c == 0x9A || c == 0x9C || c == 0x9E) return char(c - 0x10);
    if (c == 0xFF) return char(0x9F);
    return char(c);
}
} // namespace

bool isUtf8WithHighBytes(const std::string& bytes) {
    bool high = false;
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        high = true;
        size_t len;
        unsigned min;
        unsigned cp;
        if (c >= 0xC2 && c <= 0xDF) len = 2, min = 0x80, cp = c & 0x1F;
        else if (c >= 0xE0 && c <= 0xEF) len = 3, min = 0x800, cp = c & 0x0F;
        else if (c >= 0xF0 && c <= 0xF4) len = 4, min = 0x10000, cp = c & 0x07;
        else return false;
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            const auto d = static_cast<unsigned char>(bytes[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if (cp < min || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
        i += len;
    }
    return high;
}

QString toUi(const std::string& bytes) {
    if (isUtf8WithHighBytes(bytes)) return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return fromCp1252(bytes);
}

std::string fromUiName(const QString& text) { return text.toUtf8().toStdString(); }

std::string typedName(const std::string& cp1252) { return fromUiName(fromCp1252(cp1252)); }

QString fromCp1252(const std::string& bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (unsigned char c : bytes) {
        if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80]) out.append(QChar(kHigh[c - 0x80]));
        else out.append(QChar(c));
    }
    return out;
}

std::string fromUi(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += char(u);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] ? kHigh[i] == u : u == 0x80 + i) {
                mapped = char(0x80 + i);
                break;
            }
        out += mapped;
    }
    return out;
}

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    // Whole runs between breaks are copied at once: large scripts are split while a window waits.
    size_t start = 0;
    const size_t n = bytes.size();
    while (start < n) {
        const size_t brk = bytes.find_first_of("\r\n", start);
        if (brk == std::string::npos) {
            lines.emplace_back(bytes, start, n - start); // a last line without a line end is kept
            break;
        }
        lines.emplace_back(bytes, start, brk - start);
        start = brk + 1;
        if (bytes[brk] == '\r' && start < n && bytes[start] == '\n') ++start;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + CRLF;
    return out;
}

std::string stripBreaks(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != '\r' && c != '\n' && c != '\0') out += c;
    return out;
}

std::string numText(long long n) { return n < 0 ? std::to_string(n) : " " + std::to_string(n); }

std::string numText(double d) {
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) return numText(static_cast<long long>(d));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", d);
    std::string s = buf;
    // The platform writes ".5" for 0.5.
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
    return d < 0 ? s : " " + s;
}

std::string numTextTrimmed(long long n) { return numText(n).substr(1); }

double val(const std::string& s) {
    std::string t;
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') t += c;
    size_t i = 0;
    std::string num;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) num += t[i++];
    bool digits = false;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        num += t[i++];
        digits = true;
    }
    if (i < t.size() && t[i] == '.') {
        num += t[i++];
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            num += t[i++];
            digits = true;
        }
    }
    if (!digits) return 0.0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        std::string exp = "e";
        size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) exp += t[j++];
        bool expDigits = false;
        while (j < t.size() && t[j] >= '0' && t[j] <= '9') {
            exp += t[j++];
            expDigits = true;
        }
        if (expDigits) num += exp;
    }
    double d = std::strtod(num.c_str(), nullptr);
    if (!std::isfinite(d)) throw RunError(err::Overflow);
    return d;
}

long long roundHalfEven(double d) {
    if (!std::isfinite(d) || std::fabs(d) >= 9.2e18) throw RunError(err::Overflow);
    return static_cast<long long>(std::nearbyint(d)); // default rounding mode: to nearest, ties to even
}

std::int16_t toInt16(double d) {
    const long long r = roundHalfEven(d);
    if (r < std::numeric_limits<std::int16_t>::min() || r > std::numeric_limits<std::int16_t>::max())
        throw RunError(err::Overflow);
    return static_cast<std::int16_t>(r);
}

std::int32_t toInt32(double d) {
    const long long r = roundHalfEven(d);
    if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
        throw RunError(err::Overflow);
    return static_cast<std::int32_t>(r);
}

namespace {
// Maps each character of valid UTF-8 by its simple case mapping. A character whose mapping
// takes another number of bytes (the Kelvin sign, a dotted capital I) stays as it is, so the
// text keeps its length and columns found in the mapped text still fit the original.
std::string mapUtf8(const std::string& s, char32_t (*map)(char32_t)) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        const QString mapped = QString::fromUcs4(std::u32string(1, map(cp)).data(), 1);
        const QByteArray bytes = mapped.toUtf8();
        if (size_t(bytes.size()) == len) out.append(bytes.constData(), len);
        else out.append(s, i, len);
        i += len;
    }
    return out;
}
} // namespace

std::string lcase(const std::string& s) {
    if (isUtf8WithHighBytes(s)) return mapUtf8(s, [](char32_t c) { return QChar::toLower(c); });
    std::string out = s;
    for (char& c : out) c = toLowerByte(static_cast<unsigned char>(c));
    return out;
}

std::string ucase(const std::string& s) {
    if (isUtf8WithHighBytes(s)) return mapUtf8(s, [](char32_t c) { return QChar::toUpper(c); });
    std::string out = s;
    for (char& c : out) c = toUpperByte(static_cast<unsigned char>(c));
    return out;
}

std::string timeStamp(const QDateTime& t, const QString& format) {
    return QLocale::c().toString(t, format).toStdString();
}

namespace {
QString withoutDirectionMarks(QString format) {
    for (const char16_t mark : {u'\u200e', u'\u200f', u'\u061c'}) format.remove(QChar(mark));
    return format;
}
} // namespace

std::string shortDate(const QDate& date, const QLocale& locale) {
    return QLocale::c().toString(date, withoutDirectionMarks(locale.dateFormat(QLocale::ShortFormat))).toStdString();
}

std::string shortTime(const QTime& time, const QLocale& locale) {
    return QLocale::c().toString(time, withoutDirectionMarks(locale.timeFormat(QLocale::ShortFormat))).toStdString();
}

bool equalsNoCase(const std::string& a, const std::string& b) { return a.size() == b.size() && lcase(a) == lcase(b); }

std::string left(const std::string& s, long long n) {
    if (n <= 0) return "";
    return s.substr(0, static_cast<size_t>(std::min<long long>(n, static_cast<long long>(s.size()))));
}

std::string right(const std::string& s, long long n) {
    if (n <= 0) return "";
    const size_t k = static_cast<size_t>(std::min<long long>(n, static_cast<long long>(s.size())));
    return s.substr(s.size() - k);
}

std::string mid(const std::string& s, long long start1, long long length) {
    if (start1 < 1) throw RunError(err::InvalidCall);
    if (start1 > static_cast<long long>(s.size())) return "";
    const size_t from = static_cast<size_t>(start1 - 1);
    if (length < 0) return s.substr(from);
    return s.substr(from, static_cast<size_t>(length));
}

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    const auto e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

long long instr(const std::string& s, const std::string& needle, long long start1) {
    if (start1 < 1) throw RunError(err::InvalidCall);
    if (start1 > static_cast<long long>(s.size()) + 1) return 0;
    const auto p = s.find(needle, static_cast<size_t>(start1 - 1));
    return p == std::string::npos ? 0 : static_cast<long long>(p) + 1;
}

long long instrRev(const std::string& s, const std::string& needle) {
    const auto p = s.rfind(needle);
    return p == std::string::npos ? 0 : static_cast<long long>(p) + 1;
}

std::string replaceAll(const std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    std::string out;
    size_t i = 0;
    while (true) {
        const auto p = s.find(from, i);
        if (p == std::string::npos) break;
        out += s.substr(i, p - i) + to;
        i = p + from.size();
    }
    return out + s.substr(i);
}

} // namespace kx
