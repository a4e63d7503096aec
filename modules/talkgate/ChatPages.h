#pragma once
// The two chat services: their names (for the buttons) and their pages. The hosts are
// configuration values: KORVEX_CHAT_HOST1 and KORVEX_CHAT_HOST2 in the environment (a base
// address such as "http://127.0.0.1:8080") replace the built-in ones; the paths are fixed.

#include <string>

namespace kx::talkgate {

struct ChatPage {
    std::string service; // "Chat on " + service is the button's caption
    std::string url;
};

// n = 1 ("/chat.php") or 2 ("/chat.shtml").
ChatPage chatPage(int n);

} // namespace kx::talkgate
