#include "ChatPages.h"

#include "core/RunError.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "shared/KorvexConfig.h"

#include <QString>
#include <QUrl>

namespace kx::talkgate {

namespace {

struct Service {
    const char* name;
    const char* hostVariable;
    const std::string& hostKey;
    const char* defaultHost;
    const char* path;
};

const Service& service(int n) {
    static const Service services[2] = {
        {"Quellfort Lobby", "KORVEX_CHAT_HOST1", chatsetting::Host1, "https://lobby.quellfort-chat.example", "/chat.php"},
        {"Korvex Arena", "KORVEX_CHAT_HOST2", chatsetting::Host2, "https://arena.korvex-chat.example", "/chat.shtml"},
    };
    return services[n == 2 ? 1 : 0];
}

} // namespace

std::string chatService(int n) { return service(n).name; }

ChatPage chatPage(int n) {
    const Service& s = service(n);
    // The variable wins (tests, a one-off start); then the player's setting.
    std::string host = qEnvironmentVariable(s.hostVariable).toStdString();
    if (host.empty()) {
        try {
            host = trim(platform().getSetting(setting::App, chatsetting::Section, s.hostKey));
        } catch (const RunError& e) {
            throw RunError(e.number(), e.description() + ": " + setting::App + ".ini, [" + chatsetting::Section +
                                           "] " + s.hostKey);
        }
    }
    if (host.empty()) host = s.defaultHost;
    while (!host.empty() && host.back() == '/') host.pop_back();
    const std::string url = host + s.path;
    const QString scheme = QUrl(toUi(url)).scheme().toLower();
    if (scheme != "http" && scheme != "https") throw RunError(err::InvalidCall, RunError(err::InvalidCall).description() + ": " + url);
    return {s.name, url};
}

} // namespace kx::talkgate
