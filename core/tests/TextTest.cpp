#include "core/RunError.h"
#include "core/Text.h"

#include <QDateTime>
#include <QLocale>

#include <gtest/gtest.h>

using namespace kx;

TEST(Lines, SplitsAtEveryLineEnd) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\n", {"a", "b", "c"}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {std::string("x\0y\xff\r\n", 6), {std::string("x\0y\xff", 4)}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitLines(c.bytes), c.lines) << testing::PrintToString(c.bytes);
}

TEST(Lines, LongLineAndJoin) {
    const std::string big(1 << 20, 'k');
    EXPECT_EQ(splitLines(big + "\r\nz"), (std::vector<std::string>{big, "z"}));
    EXPECT_EQ(joinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(stripBreaks(std::string("a\rb\nc\0d", 7)), "abcd");
}

TEST(Numbers, ToTextCarriesTheLeadingBlank) {
    EXPECT_EQ(numText(53LL), " 53");
    EXPECT_EQ(numText(0LL), " 0");
    EXPECT_EQ(numText(-1LL), "-1");
    EXPECT_EQ(numTextTrimmed(28), "28");
    EXPECT_EQ(numTextTrimmed(-1), "1");
    EXPECT_EQ(numTextTrimmed(0), "0");
    EXPECT_EQ(numText(2.5), " 2.5");
    EXPECT_EQ(numText(0.5), " .5");
    EXPECT_EQ(numText(-0.25), "-.25");
    EXPECT_EQ(numText(10.0), " 10");
}

TEST(Numbers, ValTakesTheLongestLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},       {" 6", 6},      {"6 0", 60},     {"12abc", 12},  {"abc", 0},    {"-3", -3},
        {"+4", 4},     {"1.5e2", 150}, {"1.5e", 1.5},   {"2d1", 20},    {".5", 0.5},   {"-", 0},
        {"1 . 5", 1.5}, {"\xff", 0},   {"3:00", 3},     {"0x10", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(val(c.text), c.value) << c.text;
}

TEST(Numbers, RoundsHalfToEvenAndOverflowsAsError6) {
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(32767), 32767);
    EXPECT_EQ(toInt16(-32768), -32768);
    for (double bad : {32767.5, 40000.0, -32769.0, 1e300}) {
        try {
            toInt16(bad);
            ADD_FAILURE() << bad;
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), 6);
            EXPECT_EQ(e.description(), "Overflow");
        }
    }
    EXPECT_THROW(toInt32(3e9), RunError);
    EXPECT_THROW(val(std::string(400, '9')), RunError);
}

TEST(Text, CaseMappingFollowsWindows1252) {
    EXPECT_EQ(lcase("ABC xyz \xC4\xD6\xDC\x8A\x9F\xD7"), "abc xyz \xE4\xF6\xFC\x9A\xFF\xD7");
    EXPECT_EQ(ucase("abc \xE4\xF6\xFC\x9A\xFF\xF7\xDF"), "ABC \xC4\xD6\xDC\x8A\x9F\xF7\xDF");
    EXPECT_TRUE(equalsNoCase("The Airbase", "the airBASE"));
}

TEST(Text, CaseMappingOfUtf8FollowsItsCharacters) {
    struct Case {
        const char* in;
        const char* lower;
        const char* upper;
    } cases[] = {
        // UTF-8 with letters above 127: by character, as the text is shown.
        {"\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9.EXE", "\xC3\xBCn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9.exe",
         "\xC3\x9CN\xC3\x8F" "C\xC3\x96" "D\xC3\x89.EXE"},                               // Ünïcödé.EXE
        {"/home/Jos\xC3\xA9/M\xC3\xBCller", "/home/jos\xC3\xA9/m\xC3\xBCller", "/HOME/JOS\xC3\x89/M\xC3\x9CLLER"},
        {"\xD0\x9C\xD0\xB8\xD1\x80", "\xD0\xBC\xD0\xB8\xD1\x80", "\xD0\x9C\xD0\x98\xD0\xA0"}, // Мир
        // A mapping of another length keeps the character: the Kelvin sign, a dotted capital I,
        // a sharp s.
        {"\xE2\x84\xAA-\xC4\xB0-x", "\xE2\x84\xAA-\xC4\xB0-x", "\xE2\x84\xAA-\xC4\xB0-X"},
        {"stra\xC3\x9F" "e", "stra\xC3\x9F" "e", "STRA\xC3\x9F" "E"},
        // Not UTF-8: Windows-1252 byte by byte, as before.
        {"Jos\xC9 \x8A", "jos\xE9 \x9A", "JOS\xC9 \x8A"},
        {"\xC3(", "\xE3(", "\xC3("},
        // Pure ASCII: the same either way.
        {"Aphex.EXE", "aphex.exe", "APHEX.EXE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lcase(c.in), c.lower) << c.in;
        EXPECT_EQ(ucase(c.in), c.upper) << c.in;
    }
    EXPECT_TRUE(equalsNoCase("\xC3\x9C" "ber", "\xC3\xBC" "BER"));
}

TEST(Text, TimeStampsHaveLatinDigitsInEveryLocale) {
    const QDateTime t(QDate(2026, 5, 1), QTime(13, 30, 38));
    const QLocale saved;
    for (const char* name : {"fa_IR", "ar_EG", "bn_BD", "de_DE", "C"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        EXPECT_EQ(timeStamp(t, "yyyy-MM-dd HH-mm-ss"), "2026-05-01 13-30-38") << name;
        EXPECT_EQ(timeStamp(t, "yyyy/MM/dd"), "2026/05/01") << name;
    }
    QLocale::setDefault(saved);
}

TEST(Text, Windows1252AtWidgets) {
    const std::string bytes = "caf\xE9 \x80 \x93q\x94 \x81";
    const QString ui = toUi(bytes);
    EXPECT_EQ(ui, QString::fromUtf8("café € “q” ") + QChar(0x81));
    EXPECT_EQ(fromUi(ui), bytes);
    EXPECT_EQ(fromUi(QString::fromUtf8("a→b")), "a?b");
}

// This machine's file names are UTF-8, the game's files Windows-1252.
TEST(Text, ValidUtf8WithHighBytesIsShownAsUtf8) {
    struct Case {
        std::string bytes;
        const char* shown; // as UTF-8 source text
    };
    const Case cases[] = {
        {"/home/Jos\xC3\xA9/Games", "/home/José/Games"},
        {"\xE2\x82\xAC \xF0\x9F\x8E\xAE", "€ 🎮"},
        {"caf\xE9", "café"},                 // not UTF-8: Windows-1252
        {"\xC3\xA9\xE9", "Ã©é"},           // one stray byte makes the whole text Windows-1252
        {"\xC0\xAF", "À¯"},                 // an overlong form is no UTF-8
        {"\xED\xA0\x80", "í\xC2\xA0€"},    // nor is a surrogate
        {"\xC3", "Ã"},                       // nor a cut sequence
        {"plain", "plain"},
    };
    for (const auto& c : cases) EXPECT_EQ(toUi(c.bytes), QString::fromUtf8(c.shown)) << c.bytes;
    EXPECT_EQ(fromCp1252("\xC3\xA9"), QString::fromUtf8("Ã©"));
    // Typed names become UTF-8 file names; other typed values stay Windows-1252.
    EXPECT_EQ(fromUiName(QString::fromUtf8("José→")), "Jos\xC3\xA9\xE2\x86\x92");
    EXPECT_EQ(typedName("Jos\xE9"), "Jos\xC3\xA9");
    EXPECT_EQ(typedName("\xC3\xA9"), "\xC3\x83\xC2\xA9"); // "Ã©" typed stays what was typed
    EXPECT_EQ(fromUi(QString::fromUtf8("José")), "Jos\xE9");
}

TEST(Text, SubstringsClampLikeThePlatform) {
    EXPECT_EQ(left("abc", 5), "abc");
    EXPECT_EQ(left("abc", -1), "");
    EXPECT_EQ(right("abc", 2), "bc");
    EXPECT_EQ(mid("abc", 2), "bc");
    EXPECT_EQ(mid("abc", 5), "");
    EXPECT_EQ(mid("abcdef", 2, 3), "bcd");
    EXPECT_THROW(mid("abc", 0), RunError);
    EXPECT_EQ(instr("a:b:c", ":"), 2);
    EXPECT_EQ(instr("a:b:c", ":", 3), 4);
    EXPECT_EQ(instrRev("a:b:c", ":"), 4);
    EXPECT_EQ(instr("abc", "z"), 0);
    EXPECT_EQ(trim("  a b  "), "a b");
    EXPECT_EQ(replaceAll("a%b%", "%", "xx"), "axxbxx");
}

TEST(RunErrors, DescriptionsAndErrnoMapping) {
    EXPECT_EQ(RunError(53).description(), "File not found");
    EXPECT_EQ(RunError(76).description(), "Path not found");
    EXPECT_EQ(RunError(481).description(), "Invalid picture");
    EXPECT_EQ(RunError::fromErrno(EACCES, "/x").number(), 70);
    EXPECT_EQ(RunError::fromErrno(EEXIST, "/x").number(), 75);
    EXPECT_EQ(RunError::fromErrno(ENOSPC, "/x").number(), 61);
    EXPECT_EQ(RunError::fromErrno(EIO, "/x").number(), 57);
    EXPECT_EQ(RunError::fromErrno(ENOENT, "/tmp/no-such-file-here").number(), 53);
    EXPECT_EQ(RunError::fromErrno(ENOENT, "/no-such-folder-here/x").number(), 76);
}
