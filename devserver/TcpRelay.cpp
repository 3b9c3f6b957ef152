#include "devserver/TcpRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <deque>
#include <stdexcept>
#include <string>

namespace devserver {

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

int connectTo(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(port);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        return fd;
    }
    if (fd >= 0)
        close(fd);
    return -1;
}

// Bytes read from one side, waiting for their time to be written to the other.
struct Direction {
    int from;
    int to;
    std::deque<std::pair<Clock::time_point, std::string>> held;
    bool ended = false; // `from` has closed; `to` is shut for writing once `held` is empty

    bool open() const { return !ended || !held.empty(); }
};

// Reads what `direction.from` has and holds it back until `due`.
void takeIn(Direction &direction, Clock::time_point due) {
    char chunk[65536];
    const ssize_t n = read(direction.from, chunk, sizeof chunk);
    if (n > 0)
        direction.held.emplace_back(due, std::string(chunk, static_cast<size_t>(n)));
    else
        direction.ended = true;
}

// Writes what is due; false when the receiving side has gone.
bool sendDue(Direction &direction) {
    while (!direction.held.empty() && direction.held.front().first <= Clock::now()) {
        const std::string &bytes = direction.held.front().second;
        for (size_t sent = 0; sent < bytes.size();) {
            const ssize_t n = send(direction.to, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += static_cast<size_t>(n);
        }
        direction.held.pop_front();
        if (direction.held.empty() && direction.ended)
            shutdown(direction.to, SHUT_WR);
    }
    return true;
}

int msUntilNextDue(const Direction &a, const Direction &b) {
    Clock::time_point next = Clock::now() + std::chrono::milliseconds(50);
    for (const Direction *d : {&a, &b})
        if (!d->held.empty() && d->held.front().first < next)
            next = d->held.front().first;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
    return static_cast<int>(std::max<long long>(wait, 0));
}

} // namespace

TcpRelay::TcpRelay(int targetPort, std::chrono::milliseconds oneWayDelay)
    : targetPort(targetPort), delay(oneWayDelay), listener(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr *>(&address), &size) != 0 ||
        listen(listener, 64) != 0) {
        if (listener >= 0)
            close(listener);
        throw std::runtime_error("cannot open the relay's loopback port");
    }
    listenPort = ntohs(address.sin_port);
    acceptor = std::thread([this] { acceptLoop(); });
}

TcpRelay::~TcpRelay() {
    stopping = true;
    acceptor.join();
    for (std::thread &carrier : carriers)
        carrier.join();
    close(listener);
}

void TcpRelay::acceptLoop() {
    while (!stopping) {
        pollfd waiting{listener, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0)
            continue;
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0)
            continue;
        const int service = connectTo(targetPort);
        if (service < 0) {
            close(client);
            continue;
        }
        const int on = 1;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        ++accepted;
        std::lock_guard guard(carriersLock);
        carriers.emplace_back([this, client, service] { carry(client, service); });
    }
}

// Carries one connection both ways until both sides have closed, a side fails or the relay stops.
void TcpRelay::carry(int client, int service) const {
    Direction up{client, service, {}, false};
    Direction down{service, client, {}, false};
    while (!stopping && (up.open() || down.open())) {
        // A side that has closed is left out: poll would report its hang-up again and again.
        pollfd readable[2] = {{up.ended ? -1 : up.from, POLLIN, 0}, {down.ended ? -1 : down.from, POLLIN, 0}};
        if (poll(readable, 2, msUntilNextDue(up, down)) < 0)
            break;
        const Clock::time_point due = Clock::now() + delay;
        if (readable[0].revents & (POLLIN | POLLHUP | POLLERR))
            takeIn(up, due);
        if (readable[1].revents & (POLLIN | POLLHUP | POLLERR))
            takeIn(down, due);
        if (!sendDue(up) || !sendDue(down))
            break;
    }
    close(client);
    close(service);
}

} // namespace devserver
