// Host names and reachability.
//
// Reachability asks the host itself, all probes at once within one deadline: an ICMP echo on
// an unprivileged ping socket (refused unless net.ipv4.ping_group_range admits us) and TCP
// connects to a few common ports, where a refused connection counts as well: the host
// answered. Never a name look-up.

#include "platform/RealParts.h"

#include <chrono>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kx::real {

namespace {

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(Fd&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

sockaddr_in addressOf(std::uint32_t hostOrder, std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(hostOrder);
    return sa;
}

// An echo request on a ping socket; an invalid Fd when the system does not allow one.
Fd sendEcho(std::uint32_t hostOrder) {
    Fd s(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP));
    if (s.get() < 0) return Fd();
    icmphdr req{};
    req.type = ICMP_ECHO;
    req.un.echo.sequence = htons(1); // the kernel sets the id and the checksum
    const sockaddr_in sa = addressOf(hostOrder, 0);
    if (::sendto(s.get(), &req, sizeof req, 0, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) < 0) return Fd();
    return s;
}

// A non-blocking connect; an invalid Fd when it failed outright, `answered` when it was
// decided at once (connected or refused).
Fd startConnect(std::uint32_t hostOrder, std::uint16_t port, bool& answered) {
    answered = false;
    Fd s(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (s.get() < 0) return Fd();
    const sockaddr_in sa = addressOf(hostOrder, port);
    if (::connect(s.get(), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0 || errno == ECONNREFUSED) {
        answered = true;
        return s;
    }
    if (errno != EINPROGRESS) return Fd();
    return s;
}

} // namespace

std::vector<std::string> resolveIPv4(const std::string& host) {
    // The host entry's own order (the hosts file's lines, the DNS answer), as the programs
    // show its first address. getaddrinfo would re-sort the addresses by RFC 6724 (a loopback
    // or same-network address first), so the host entry is read instead.
    std::vector<std::string> out;
    if (host.empty()) return out;
    hostent entry{};
    hostent* found = nullptr;
    int herr = 0;
    std::vector<char> buf(4096);
    while (::gethostbyname2_r(host.c_str(), AF_INET, &entry, buf.data(), buf.size(), &found, &herr) == ERANGE &&
           buf.size() < (1u << 24))
        buf.resize(buf.size() * 2);
    if (!found || found->h_addrtype != AF_INET || found->h_length != sizeof(in_addr)) return out;
    for (char** a = found->h_addr_list; a && *a; ++a) {
        char text[INET_ADDRSTRLEN];
        if (!::inet_ntop(AF_INET, *a, text, sizeof text)) continue;
        bool seen = false;
        for (const auto& o : out) seen = seen || o == text;
        if (!seen) out.emplace_back(text);
    }
    return out;
}

bool parseIPv4(const std::string& text, std::uint32_t& hostOrder) {
    std::uint32_t result = 0;
    int parts = 0;
    size_t i = 0;
    while (true) {
        size_t digits = 0;
        unsigned value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            value = value * 10 + unsigned(text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) return false;
        result = (result << 8) | value;
        ++parts;
        if (parts == 4) break;
        if (i >= text.size() || text[i] != '.') return false;
        ++i;
    }
    if (i != text.size()) return false;
    hostOrder = result;
    return true;
}

bool probeIPv4(std::uint32_t hostOrder, int timeoutMs) {
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(timeoutMs);

    std::vector<Fd> sockets;
    std::vector<pollfd> polls;
    Fd echo = sendEcho(hostOrder);
    if (echo.get() >= 0) {
        polls.push_back({echo.get(), POLLIN, 0});
        sockets.push_back(std::move(echo));
    }
    const size_t firstTcp = polls.size();
    for (const std::uint16_t port : {80, 443, 24711}) {
        bool answered = false;
        Fd s = startConnect(hostOrder, port, answered);
        if (answered) return true;
        if (s.get() < 0) continue;
        polls.push_back({s.get(), POLLOUT, 0});
        sockets.push_back(std::move(s));
    }

    size_t open = polls.size();
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now()).count();
        if (left <= 0) return false;
        const int n = ::poll(polls.data(), polls.size(), int(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        for (size_t i = 0; i < polls.size(); ++i) {
            if (polls[i].fd < 0 || polls[i].revents == 0) continue;
            if (i < firstTcp) {
                unsigned char buf[256];
                const ssize_t got = ::recv(polls[i].fd, buf, sizeof buf, 0);
                if (got >= ssize_t(sizeof(icmphdr)) && reinterpret_cast<const icmphdr*>(buf)->type == ICMP_ECHOREPLY)
                    return true;
                if (got < 0 && errno == EAGAIN) continue;
                if (got >= 0) continue; // something else arrived: keep listening
            } else {
                int err = 0;
                socklen_t len = sizeof err;
                ::getsockopt(polls[i].fd, SOL_SOCKET, SO_ERROR, &err, &len);
                if (err == 0 || err == ECONNREFUSED) return true;
            }
            polls[i].fd = -1; // this probe is decided: no answer from it
            --open;
        }
    }
    return false;
}

} // namespace kx::real
