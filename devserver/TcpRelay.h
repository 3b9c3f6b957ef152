#pragma once
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace devserver {

// A loopback TCP relay in front of the service: every connection made to `port()` is carried to the
// service's port, each byte held back `oneWayDelay` in each direction, so that a round trip costs
// twice that (a slow line, on one machine). Counts the connections it carried.
class TcpRelay {
public:
    TcpRelay(int targetPort, std::chrono::milliseconds oneWayDelay);
    ~TcpRelay();
    TcpRelay(const TcpRelay &) = delete;
    TcpRelay &operator=(const TcpRelay &) = delete;

    int port() const { return listenPort; }
    int connections() const { return accepted; }

private:
    void acceptLoop();
    void carry(int client, int service) const;

    int targetPort;
    std::chrono::milliseconds delay;
    int listener = -1;
    int listenPort = 0;
    std::atomic<int> accepted{0};
    std::atomic<bool> stopping{false};
    std::mutex carriersLock;
    std::vector<std::thread> carriers;
    std::thread acceptor;
};

} // namespace devserver
