#include "shared/net/HostNames.h"

#include "platform/Platform.h"

#include <optional>

namespace kx {

namespace {

// "a.b.c.d" with each part 0-255 as four bytes; nullopt for anything else.
std::optional<std::string> ipv4Bytes(const std::string& text) {
    std::string bytes;
    size_t i = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (i >= text.size() || text[i] != '.') return std::nullopt;
            ++i;
        }
        int value = 0, digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 3) {
            value = value * 10 + (text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || value > 255) return std::nullopt;
        bytes += static_cast<char>(value);
    }
    if (i != text.size()) return std::nullopt;
    return bytes;
}

} // namespace

bool winsockStart() { return platform().socketsStart() == 0; }

void winsockStop() {
    if (platform().socketsStop() != 0) platform().msgBox("Windows Sockets error occurred in Cleanup.", box::Exclamation);
}

std::string dottedAddress(const std::string& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i) out += '.';
        out += std::to_string(static_cast<unsigned char>(bytes[i]));
    }
    return out;
}

std::string hostNameToAddress(const std::string& host) {
    if (host.empty()) return "";
    const auto addresses = platform().resolveIPv4(host);
    if (addresses.empty()) return "";
    // Only the first entry of the host's list counts; an entry that is no IPv4 text is treated
    // as not found rather than shown half-formed.
    const auto bytes = ipv4Bytes(addresses.front());
    return bytes ? dottedAddress(*bytes) : "";
}

std::string resolveDNS(const std::string& host) {
    if (!winsockStart()) {
        platform().msgBox("Windows Sockets for 32 bit Windows is not successfully responding.",
                          box::Critical, "Error.");
        platform().endProgram(0);
    }
    const std::string address = hostNameToAddress(host);
    winsockStop();
    return address;
}

} // namespace kx
