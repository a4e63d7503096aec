#pragma once
// The pieces of the real platform, one file each, behind RealPlatform.cpp. Internal to the
// platform layer: program code reaches them only through kx::Platform.

#include "platform/Platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kx::real {

// --- scripted dialogs (RealScript.cpp) ----------------------------------------------------
// True when KORVEX_DIALOGS names a file: boxes are then written there, not shown.
bool dialogsScripted();
// Records the box and returns its scripted answer (box::Ok ...).
int scriptedBox(const std::string& program, const std::string& text, int style, const std::string& title);
// Records the input box and returns its scripted text.
std::string scriptedInput(const std::string& program, const std::string& prompt, const std::string& title,
                          const std::string& defaultText);
// A JSON string literal (quotes included) of Windows-1252 bytes, encoded as UTF-8.
std::string jsonString(const std::string& bytes1252);

// --- processes (RealProcess.cpp) ------------------------------------------------------------
// Starts program with args, detached (no zombie left behind), in workDir ("" = ours).
// A bare name is looked for in our current directory first only when fromHere.
// Raises RunError: 52 a program, argument or folder holding NUL, 53 missing program, 70 not permitted, 76 missing working directory ...
void spawnDetached(const std::string& program, const std::vector<std::string>& args, const std::string& workDir,
                   bool fromHere = true);

// --- settings and registry (RealStores.cpp) -------------------------------------------------
// $XDG_CONFIG_HOME/Korvex, ~/.config/Korvex when the variable is unset or not absolute.
std::string configDir();
std::string readSetting(const std::string& app, const std::string& section, const std::string& key);
void writeSetting(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& value);
// The escape used for setting values (exposed for the tests of odd bytes).
std::string escapeValue(const std::string& raw);
std::string unescapeValue(const std::string& text);

// The registry file: every call reads it anew; writes are atomic under a lock.
std::string registryPath();
// Key paths are "HKEY_LOCAL_MACHINE\Software\X"; names compare ignoring case.
bool registryKeyExists(const std::string& keyPath);
void registryCreateKey(const std::string& keyPath);
// false when the key or the value is missing.
bool registryQuery(const std::string& keyPath, const std::string& name, std::uint32_t& type, std::string& data);
void registrySet(const std::string& keyPath, const std::string& name, std::uint32_t type, const std::string& data);
const char* hiveName(Hive hive);
// "Software\\X\\" -> "Software\X": empty components dropped.
std::string normalizeSubKey(const std::string& subKey);

// The two stores' rules over the lines of their files (the calls above read, change and
// write the file around them; the fuzz targets and tests take them alone).
std::string iniValue(const std::vector<std::string>& lines, const std::string& section, const std::string& key);
void iniPut(std::vector<std::string>& lines, const std::string& section, const std::string& key,
            const std::string& value);
bool regHasKey(const std::vector<std::string>& lines, const std::string& keyPath);
// Adds the key's section; false when the key exists already (nothing changed).
bool regAddKey(std::vector<std::string>& lines, const std::string& keyPath);
bool regGet(const std::vector<std::string>& lines, const std::string& keyPath, const std::string& name,
            std::uint32_t& type, std::string& data);
void regPut(std::vector<std::string>& lines, const std::string& keyPath, const std::string& name,
            std::uint32_t type, const std::string& data);

// --- X11 windows (RealWindows.cpp) ------------------------------------------------------------
std::vector<TopWindow> listTopWindows();
bool closeTopWindow(std::uint64_t id);

// --- network (RealNet.cpp) ----------------------------------------------------------------------
std::vector<std::string> resolveIPv4(const std::string& host);
// Four dot-separated parts of 1-3 digits, each 0..255; nothing else (no blanks, no names).
bool parseIPv4(const std::string& text, std::uint32_t& hostOrder);
bool probeIPv4(std::uint32_t hostOrder, int timeoutMs);

// --- file system places (RealPlatform.cpp) -----------------------------------------------------
std::vector<std::string> mountRoots();

} // namespace kx::real
