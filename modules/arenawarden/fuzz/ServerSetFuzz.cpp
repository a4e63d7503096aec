// Server sets (korvex.wfd/config/serversets/*.ini): the reading rule over any bytes, and the
// configuration window's writer read back by it.
#include "ServerSets.h"

#include "core/Text.h"
#include "core/fuzz/FuzzInput.h"
#include "shared/Boxes.h"

#include <cstdint>
#include <string>

using namespace kx;
using namespace kx::arenawarden;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::Input in = fuzz::splitInput(data, size);
    const auto lines = splitLines(in.file);
    forEachServerSetLine(lines, [](SetKey, const std::string& value) {
        try {
            toInt16(val(value)); // what the window does with the numbers
        } catch (const RunError&) {
        }
        textToBool(value);
    });

    ServerSetValues v;
    v.name = in.value(0, lines.empty() ? "" : lines[0]);
    v.maxPlayersIndex = int(size % 15);
    v.gameTypeIndex = int(size % 3);
    v.cycleTime = int(size % 120) + 1;
    v.isCycling = int(size % 2);
    v.advertKx3 = int(size / 2 % 2);
    for (size_t i = 1; i < in.values.size(); ++i) v.maps.push_back(in.values[i]);
    if (in.values.empty())
        for (size_t i = 1; i < lines.size() && i < 8; ++i) v.maps.push_back(lines[i]);

    ServerSetValues back;
    back.maxPlayersIndex = back.gameTypeIndex = back.cycleTime = back.isCycling = back.advertKx3 = -1;
    int names = 0;
    forEachServerSetLine(splitLines(joinLines(serverSetLines(v))), [&](SetKey key, const std::string& value) {
        switch (key) {
        case SetKey::Name: back.name = value; ++names; break;
        case SetKey::MaxPlayers: back.maxPlayersIndex = toInt16(val(value)); break;
        case SetKey::GameType: back.gameTypeIndex = toInt16(val(value)); break;
        case SetKey::CycleTime: back.cycleTime = toInt16(val(value)); break;
        case SetKey::IsCycling: back.isCycling = textToBool(value); break;
        case SetKey::AdvertKx3: back.advertKx3 = textToBool(value); break;
        case SetKey::AddMap: back.maps.push_back(value); break;
        }
    });
    require(names == 1 && back.name == stripBreaks(v.name));
    require(back.maxPlayersIndex == v.maxPlayersIndex && back.gameTypeIndex == v.gameTypeIndex);
    require(back.cycleTime == v.cycleTime && back.isCycling == v.isCycling && back.advertKx3 == v.advertKx3);
    require(back.maps.size() == v.maps.size());
    for (size_t i = 0; i < v.maps.size(); ++i) require(back.maps[i] == stripBreaks(v.maps[i]));
    return 0;
}
