#pragma once
// Key-prefix lines, the form of every settings file of the suite: a line is recognised by its
// first N characters, and its value is the rest of the line from a fixed column. Readers
// differ in N, in where the value starts and in whether case is ignored, so all three are
// parameters: korvex.cfg compares 10 characters and takes the value from character 12;
// the host, join and dedicated-server modules compare 11 ("playername=") and take it from 12.

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kx {

struct KeyPrefixRule {
    size_t compareLength;   // N: characters compared with the key
    size_t valueOffset;     // 0-based start of the value (N + 1 for a key followed by "=")
    bool ignoreCase = false;
};

inline KeyPrefixRule keyRule(size_t n, bool ignoreCase = false) { return {n, n + 1, ignoreCase}; }

// Calls onMatch(index into keys, value) for every line whose first compareLength characters
// equal a key, in file order; a line shorter than the value column gives "". A key longer or
// shorter than compareLength is compared with the line's first compareLength characters, so
// it can never match: keys are given at their full length.
void forEachKeyLine(const std::vector<std::string>& lines, const KeyPrefixRule& rule,
                    const std::vector<std::string>& keys,
                    const std::function<void(size_t, const std::string&)>& onMatch);

// The value of each key that occurs (the last matching line wins); absent keys are absent.
std::map<std::string, std::string> readKeyLines(const std::vector<std::string>& lines,
                                                const KeyPrefixRule& rule,
                                                const std::vector<std::string>& keys);

} // namespace kx
