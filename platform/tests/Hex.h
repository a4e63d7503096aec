#pragma once
// Settings values cross the process boundary of the settings tests as hex, so any byte survives.

#include <string>

namespace kx::test {

inline std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

inline std::string unhex(const std::string& text) {
    std::string out;
    for (size_t i = 0; i + 1 < text.size(); i += 2) out += char(std::stoi(text.substr(i, 2), nullptr, 16));
    return out;
}

} // namespace kx::test
