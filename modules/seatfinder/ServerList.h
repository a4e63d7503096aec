#pragma once
// The user's server list korvex.wfd/config/servers.ini: ";" lines are comments, "#" lines are
// addresses, every other line (an empty one too) is a server name. Names and addresses pair by
// order alone: the n-th name belongs to the n-th address, wherever they stand.

#include <string>
#include <vector>

namespace kx::seatfinder {

struct ServerList {
    std::vector<std::string> names;
    std::vector<std::string> addresses;
};

ServerList parseServerList(const std::vector<std::string>& lines);

// <dir>/korvex.wfd/config/servers.ini, resolved ignoring case.
std::string serverListPath(const std::string& korvexDir);

// A name or address that can be written as one entry: not empty, no line break, and a name
// that would not read back as a comment or an address.
bool isStorableName(const std::string& name);
bool isStorableAddress(const std::string& address);

// Appends the name line and the "#" address line to the list at path (made when missing), both
// in one write, so that names and addresses stay paired and two windows adding at once keep
// every entry; a last line without its line end gets one first, so the new name does not join
// it. Raises the RunError of a failure, the list then as it was.
void appendServer(const std::string& path, const std::string& name, const std::string& address);

} // namespace kx::seatfinder
