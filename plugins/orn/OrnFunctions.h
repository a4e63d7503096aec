#pragma once
// The function descriptor file korvex.wfd/config/orn_functions.ini: a "[name]" line followed by
// four lines, the hive name, the key path, the value name and the program file name.

#include "shared/Boxes.h"

#include <string>
#include <vector>

namespace kx::orn {

struct Descriptor {
    bool matched = false; // a complete descriptor of the function was found
    std::string tree, keyName, key, exe;
};

// Reads the lines from the first to the last, as the look-up always has: every "[" line is a
// descriptor whose name (the line less its first and last character) is compared with
// functionName ignoring case; a match takes the next four lines as they are, and a later match
// wins. A match cut off by the end of the file gives no descriptor. Logs each step on log.
Descriptor findDescriptor(const std::vector<std::string>& lines, const std::string& functionName,
                          const LogSink& log = {});

// The hive names and their predefined handles; 0 for a name not in the table.
std::uint32_t hiveHandle(const std::string& treeName);

} // namespace kx::orn
