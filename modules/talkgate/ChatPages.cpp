#include "ChatPages.h"

#include <QString>

namespace kx::talkgate {

namespace {

struct Service {
    const char* name;
    const char* hostVariable;
    const char* defaultHost;
    const char* path;
};

constexpr Service Services[2] = {
    {"Quellfort Lobby", "KORVEX_CHAT_HOST1", "https://lobby.quellfort-chat.example", "/chat.php"},
    {"Korvex Arena", "KORVEX_CHAT_HOST2", "https://arena.korvex-chat.example", "/chat.shtml"},
};

} // namespace

ChatPage chatPage(int n) {
    const Service& s = Services[n == 2 ? 1 : 0];
    std::string host = qEnvironmentVariable(s.hostVariable).toStdString();
    if (host.empty()) host = s.defaultHost;
    while (!host.empty() && host.back() == '/') host.pop_back();
    return {s.name, host + s.path};
}

} // namespace kx::talkgate
