#pragma once
// The checks the join module makes on a server address: "four dotted numbers:port". The check
// is deliberately loose (it counts characters, no ranges or positions), because the server
// lists in the field were written against it: 999.1.1.1:24711 passes.

#include <cstdint>
#include <string>

namespace kx {

// Valid exactly when the text holds only the characters "0"-"9", ":" and ".", with three dots
// and one colon: 1.2.3.4:24711, 999.1.1.1:24711, :1.2.3. and 1.2.3.4: pass; 1.2.3.4,
// 1.2.3.4:5:6, "1.2.3.4 :24711", any "dns&" text and the empty text do not.
bool validateIP(const std::string& address);

// The text before the last ":"; "" when there is none.
std::string stripPort(const std::string& address);

// 1 when the platform reports the IPv4 address as reachable, else 0.
std::int16_t queryReachable(const std::string& ipv4);

} // namespace kx
