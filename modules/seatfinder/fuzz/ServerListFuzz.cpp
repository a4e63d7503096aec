// servers.ini: the reader over any bytes, and "Add Server" on a real file: the entry is
// appended and pairs with nothing but itself, whatever the list held before.
#include "ServerList.h"

#include "core/Files.h"
#include "core/Text.h"
#include "core/fuzz/FuzzInput.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include <unistd.h>

using namespace kx;
using namespace kx::seatfinder;
using fuzz::require;

namespace {
char scratchDir[] = "/tmp/kx-fuzz-servers-XXXXXX";

void removeScratch() {
    const std::string file = std::string(scratchDir) + "/servers.ini";
    ::unlink(file.c_str());
    ::rmdir(scratchDir);
}

// One file for the whole run, removed at its end.
std::string scratchFile() {
    static const std::string path = [] {
        if (!::mkdtemp(scratchDir)) std::abort();
        std::atexit(removeScratch);
        return std::string(scratchDir) + "/servers.ini";
    }();
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::Input in = fuzz::splitInput(data, size);
    const ServerList before = parseServerList(splitLines(in.file));
    const std::string name = in.value(0, "Added Server"), address = in.value(1, "192.0.2.1:24711");
    if (!isStorableName(name) || !isStorableAddress(address)) return 0;

    const std::string path = scratchFile();
    writeFileAtomic(path, in.file);
    appendServer(path, name, address);
    const ServerList after = parseServerList(readLines(path));
    auto names = before.names, addresses = before.addresses;
    names.push_back(name);
    addresses.push_back(address);
    require(after.names == names);
    require(after.addresses == addresses);
    return 0;
}
