// korvex.cfg: its readers (10 characters compared in the launcher and script editor, 11 with
// the "=" in the host, join and dedicated-server modules) over any bytes; the set-up's writer
// and the single-line rewrite read back as written.
#include "core/Files.h"
#include "core/KeyPrefix.h"
#include "core/Text.h"
#include "core/fuzz/FuzzInput.h"
#include "shared/KorvexConfig.h"

#include <cstdint>
#include <string>

using namespace kx;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::Input in = fuzz::splitInput(data, size);
    const auto lines = splitLines(in.file);
    const KeyPrefixRule launcher = keyRule(10), modules{11, 11};
    std::vector<std::string> withEquals;
    for (const auto& k : configKeys()) withEquals.push_back(k + "=");
    const auto read10 = readKeyLines(lines, launcher, configKeys());
    readKeyLines(lines, modules, withEquals);
    for (const auto& [k, v] : read10) storedIndex(v, 12);

    // The set-up's file, with values taken from the input (the file's own lines when none).
    ConfigValues v;
    v.playerName = in.value(0, lines.empty() ? "" : lines[0]);
    v.defaultMap = in.value(1, lines.size() > 1 ? lines[1] : "");
    v.gameName = in.value(2);
    v.shotDir = in.value(3);
    v.gameSpy = in.value(4);
    v.gameType = int(size % 3);
    v.team = int(size % 5 % 3);
    v.maxPlayersIndex = int(size % 17);
    v.autoSnap = int(size % 2);
    const auto back = readKeyLines(splitLines(joinLines(configLines(v))), launcher, configKeys());
    require(back.at(cfgkey::PlayerName) == stripBreaks(v.playerName));
    require(back.at(cfgkey::DefaultMap) == stripBreaks(v.defaultMap));
    require(back.at(cfgkey::GameName) == stripBreaks(v.gameName));
    require(back.at(cfgkey::ShotDir) == stripBreaks(v.shotDir));
    require(back.at(cfgkey::GameSpy) == stripBreaks(v.gameSpy));
    require(storedIndex(back.at(cfgkey::GameType), 3) == v.gameType);
    require(storedIndex(back.at(cfgkey::Team), 3) == v.team);
    require(storedIndex(back.at(cfgkey::MaxPlayers), 17) == v.maxPlayersIndex);

    // The rewrite of one key over the input file: that key reads the new value, every other
    // line stays byte for byte.
    const std::string& key = configKeys()[size % configKeys().size()];
    const std::string value = stripBreaks(in.value(5, "true"));
    int replaced = 0;
    const auto rewritten = rewrittenKeyLines(lines, 10, key, key + "=" + value, &replaced);
    const auto again = splitLines(joinLines(rewritten));
    require(again.size() == lines.size());
    int seen = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(0, 10, key) == 0) {
            require(again[i] == key + "=" + value);
            ++seen;
        } else {
            require(again[i] == lines[i]);
        }
    }
    require(seen == replaced);
    if (replaced) require(readKeyLines(again, launcher, configKeys()).at(key) == value);
    return 0;
}
