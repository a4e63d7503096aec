#include "shared/net/Addresses.h"

#include "platform/Platform.h"

namespace kx {

bool validateIP(const std::string& address) {
    int colons = 0, dots = 0, others = 0;
    for (unsigned char c : address) {
        if (c == ':') ++colons;
        // "0" to "9" and ":" are the characters of an address; they count nothing further.
        if (c >= 48 && c <= 58) continue;
        if (c == '.') ++dots;
        else ++others;
    }
    return others == 0 && dots == 3 && colons == 1;
}

std::string stripPort(const std::string& address) {
    const auto colon = address.rfind(':');
    return colon == std::string::npos ? std::string() : address.substr(0, colon);
}

std::int16_t queryReachable(const std::string& ipv4) { return platform().isReachable(ipv4) ? 1 : 0; }

} // namespace kx
