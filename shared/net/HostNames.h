#pragma once
// The host-name resolver of the game-session modules: start and stop the socket service and
// turn a host name into a dotted IPv4 text. Built into the join module and the name look-up
// tool from this one source; the network is reached only through the platform.

#include <string>

namespace kx {

// true when the platform's socket service started.
bool winsockStart();
// Ends the use of the socket service; a failure shows a warning box and the program goes on.
void winsockStop();

// The bytes of an address in stored order, each in decimal, joined by ".": "\xC0\xA8\x00\x0A"
// gives 192.168.0.10.
std::string dottedAddress(const std::string& bytes);

// The first IPv4 address of the host, or "" when it is not found (no box). An empty name is
// never looked up: it would name the local machine.
std::string hostNameToAddress(const std::string& host);

// winsockStart, hostNameToAddress, winsockStop. When the socket service does not start, shows
// its "Error." box and ends the program.
std::string resolveDNS(const std::string& host);

} // namespace kx
