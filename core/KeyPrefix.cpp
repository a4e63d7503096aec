#include "core/KeyPrefix.h"

#include "core/Text.h"

namespace kx {

void forEachKeyLine(const std::vector<std::string>& lines, const KeyPrefixRule& rule,
                    const std::vector<std::string>& keys,
                    const std::function<void(size_t, const std::string&)>& onMatch) {
    std::vector<std::string> wanted = keys;
    if (rule.ignoreCase)
        for (auto& k : wanted) k = lcase(k);
    for (const auto& line : lines) {
        std::string head = line.substr(0, rule.compareLength);
        if (rule.ignoreCase) head = lcase(head);
        for (size_t k = 0; k < wanted.size(); ++k) {
            if (wanted[k] != head) continue;
            onMatch(k, line.size() > rule.valueOffset ? line.substr(rule.valueOffset) : std::string());
            break;
        }
    }
}

std::map<std::string, std::string> readKeyLines(const std::vector<std::string>& lines, const KeyPrefixRule& rule,
                                                const std::vector<std::string>& keys) {
    std::map<std::string, std::string> values;
    forEachKeyLine(lines, rule, keys, [&](size_t k, const std::string& v) { values[keys[k]] = v; });
    return values;
}

} // namespace kx
