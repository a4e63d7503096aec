#pragma once
// The two chat services: their names (for the buttons) and their pages. The hosts are
// configuration values, a base address such as "https://chat.example.org" each: the
// environment variables KORVEX_CHAT_HOST1 and KORVEX_CHAT_HOST2 first, else the per-user
// settings of Korvex (Korvex.ini), section "chat", keys "host1" and "host2", else the built-in
// ones. The paths are fixed.

#include <string>

namespace kx::talkgate {

namespace chatsetting {
inline const std::string Section = "chat", Host1 = "host1", Host2 = "host2";
}

struct ChatPage {
    std::string service; // "Chat on " + service is the button's caption
    std::string url;
};

// n = 1 ("/chat.php") or 2 ("/chat.shtml").
std::string chatService(int n);
// Raises the settings store's run error when it cannot be read (naming the setting), and 5
// for an address that is not a web address (http or https; naming it): the engine is handed
// web pages only.
ChatPage chatPage(int n);

} // namespace kx::talkgate
