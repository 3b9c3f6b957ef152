#pragma once
#include <atomic>
#include <thread>
#include <vector>

// A plain TCP listener on a loopback port that accepts connections, counts every byte it receives
// and never answers: a clear-text endpoint that must stay silent, or a server that never replies.
class PlainListener {
public:
    PlainListener();
    ~PlainListener();
    PlainListener(const PlainListener &) = delete;
    PlainListener &operator=(const PlainListener &) = delete;

    int listeningPort() const { return port; }
    // Stops listening after taking in whatever has already arrived; the counts are final afterwards.
    void stop();
    long connections() const { return accepted; }
    long bytesReceived() const { return received; }

private:
    void sweep(int waitMs);

    int listener = -1;
    int port = 0;
    std::vector<int> open; // used by the worker, or by stop() once the worker has ended
    std::atomic<long> accepted{0};
    std::atomic<long> received{0};
    std::atomic<bool> stopping{false};
    std::thread worker;
};
