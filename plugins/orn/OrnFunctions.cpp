#include "OrnFunctions.h"

#include "core/Text.h"

namespace kx::orn {

Descriptor findDescriptor(const std::vector<std::string>& lines, const std::string& functionName,
                          const LogSink& log) {
    auto say = [&](const std::string& s) {
        if (log) log(s);
    };
    Descriptor found;
    const std::string wanted = lcase(functionName);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line[0] != '[') continue;
        say(">> Descriptor found. Raw: '" + line + "'");
        // A lone "[" or a two-character line has an empty name; an empty function name
        // matches no descriptor, so a command line without one starts nothing.
        const std::string name = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string();
        if (wanted.empty() || lcase(name) != wanted) continue;
        say(">> Descriptor applies query. Retreiveing Struct.");
        static const char* const labels[] = {">>> $RetreivedTree: ", ">>> $RetreivedKeyName: ",
                                             ">>> $RetreivedKey: ", ">>> $RetreivedExe: "};
        Descriptor d;
        std::string* fields[] = {&d.tree, &d.keyName, &d.key, &d.exe};
        size_t got = 0;
        for (; got < 4 && i + 1 < lines.size(); ++got) {
            *fields[got] = lines[++i];
            say(labels[got] + *fields[got]);
        }
        // The four lines are taken as they stand: a "[" among them starts no descriptor.
        if (got == 4) {
            d.matched = true;
            found = d;
        } else {
            found = Descriptor{};
        }
    }
    return found;
}

std::uint32_t hiveHandle(const std::string& treeName) {
    const std::string t = ucase(treeName);
    if (t == "HKEY_CLASSES_ROOT") return 0x80000000u;
    if (t == "HKEY_CURRENT_USER") return 0x80000001u;
    if (t == "HKEY_LOCAL_MACHINE") return 0x80000002u;
    if (t == "HKEY_USERS") return 0x80000003u;
    return 0;
}

} // namespace kx::orn
