// The script editor's loader over any bytes: the placeholder codes never fault, and an opened
// file goes through the editing area (long lines in blocks, loaded in one part or two) and back
// line for line.
#include "ScriptEdit.h"
#include "Scripts.h"

#include "core/Text.h"

#include <QApplication>
#include <QTextCharFormat>

#include <cstdint>
#include <string>

// The editing area lays its text out, and Qt's font database and the font libraries under it
// keep what they load (a fallback font for each new script the input holds) until the process
// ends, where the leak checker cannot follow their pointers. Those caches are not the loader's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6Gui.so\nleak:libfontconfig.so\nleak:libfreetype.so\nleak:libharfbuzz.so\n";
}

namespace {
QApplication& app() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_script_text";
    static char* argv[] = {name, nullptr};
    static QApplication a(argc, argv);
    return a;
}

// The lines as the editing area gives them back after loading them in two parts.
std::vector<std::string> throughTheEditor(const std::vector<std::string>& lines, std::size_t split) {
    app();
    kx::quillroom::ScriptEdit edit;
    const auto go = [] { return true; };
    const std::vector<std::string> first(lines.begin(), lines.begin() + std::ptrdiff_t(split));
    const std::vector<std::string> second(lines.begin() + std::ptrdiff_t(split), lines.end());
    edit.appendLines(first, QTextCharFormat(), go);
    edit.appendLines(second, QTextCharFormat(), go);
    return kx::quillroom::scriptLines(edit.scriptText());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = kx::splitLines(bytes);
    const kx::quillroom::Placeholders codes{"Title", "Player", "12:00 / 01.01.2026"};
    const auto filled = kx::quillroom::fillPlaceholders(lines, codes);
    if (filled.size() > lines.size()) __builtin_trap();
    // A filled line never keeps a code: it was replaced or left out.
    for (const auto& l : filled)
        if (l.size() >= 15 && l[14] == '%') __builtin_trap();
    // An opened file loses no line: one with another code stays as it was.
    const auto opened = kx::quillroom::fillPlaceholders(lines, codes, kx::quillroom::OtherCodes::Keep);
    if (opened.size() != lines.size()) __builtin_trap();
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (opened[i].size() >= 15 && opened[i][14] == '%' && opened[i] != lines[i]) __builtin_trap();
    // Lines cannot hold a line break, so the round trip is exact.
    if (kx::quillroom::scriptLines(kx::quillroom::editorText(lines)) != lines) __builtin_trap();
    if (throughTheEditor(lines, lines.size()) != lines) __builtin_trap();
    if (throughTheEditor(lines, lines.size() / 2) != lines) __builtin_trap();
    return 0;
}
