#pragma once
// One fuzz input as a file and the values a writer adds to it: the bytes up to the first 0xFF
// are the file, each further 0xFF starts the next value. A shipped file (no 0xFF) is all file;
// its values are then "" and the targets take their own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kx::fuzz {

struct Input {
    std::string file;
    std::vector<std::string> values;
    // The n-th value, or fallback when the input has fewer.
    std::string value(size_t n, const std::string& fallback = "") const {
        return n < values.size() ? values[n] : fallback;
    }
};

inline Input splitInput(const std::uint8_t* data, std::size_t size) {
    Input in;
    const std::string all(reinterpret_cast<const char*>(data), size);
    size_t pos = all.find('\xff');
    in.file = all.substr(0, pos);
    while (pos != std::string::npos) {
        const size_t next = all.find('\xff', pos + 1);
        in.values.push_back(all.substr(pos + 1, next == std::string::npos ? std::string::npos : next - pos - 1));
        pos = next;
    }
    return in;
}

// Stops the run where a property does not hold, so that libFuzzer keeps the input.
inline void require(bool holds) {
    if (!holds) __builtin_trap();
}

} // namespace kx::fuzz
