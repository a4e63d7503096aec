// The registry file (registry.reg): its reader over any bytes, and a value set read back: the
// value set is the value read, and another value of the file reads as before.
#include "core/Text.h"
#include "core/fuzz/FuzzInput.h"
#include "platform/RealParts.h"

#include <cstdint>
#include <string>

using namespace kx;
using fuzz::require;

namespace {
struct Value {
    bool found = false;
    std::uint32_t type = 0;
    std::string data;
    bool operator==(const Value&) const = default;
};

Value get(const std::vector<std::string>& lines, const std::string& key, const std::string& name) {
    Value v;
    v.found = real::regGet(lines, key, name, v.type, v.data);
    return v;
}

// Key names as the programs give them: no line break (a key is one line of the file).
std::string keyOf(const std::string& sub) { return "HKEY_CURRENT_USER\\" + stripBreaks(sub); }
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::Input in = fuzz::splitInput(data, size);
    auto lines = splitLines(in.file);
    const std::string key = keyOf(in.value(0, "Software\\Quellfort")), name = in.value(1, "InstallPath");
    const std::string otherKey = keyOf(in.value(3, "Software\\Quellfort")), otherName = in.value(4, "Count");
    real::regHasKey(lines, key);
    const Value other = get(lines, otherKey, otherName);

    Value set{true, reg::Sz, in.value(2, "/games/x")};
    if (size % 3 == 1) {
        set.type = reg::Dword;
        set.data.resize(4, '\0');
    } else if (size % 3 == 2) {
        set.type = std::uint32_t(size % 11);
    }
    if (size % 7 == 0) real::regAddKey(lines, key);
    real::regPut(lines, key, name, set.type, set.data);
    const auto back = splitLines(joinLines(lines));
    require(real::regHasKey(back, key));
    require(get(back, key, name) == set);
    const bool same = equalsNoCase(real::normalizeSubKey(key), real::normalizeSubKey(otherKey)) && equalsNoCase(name, otherName);
    if (!same) require(get(back, otherKey, otherName) == other);
    return 0;
}
