#include "tests/service/PlainListener.h"

#include "tests/service/RecordingHttpsServer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

PlainListener::PlainListener() {
    listener = loopbackSocket(port);
    listen(listener, 16);
    worker = std::thread([this] {
        while (!stopping)
            sweep(20);
    });
}

PlainListener::~PlainListener() {
    stop();
    for (int connection : open)
        close(connection);
    close(listener);
}

void PlainListener::stop() {
    if (!worker.joinable())
        return;
    stopping = true;
    worker.join();
    sweep(0);
}

// Accepts the connections waiting (up to `waitMs` for the first) and reads what has arrived on each.
void PlainListener::sweep(int waitMs) {
    pollfd waiting{listener, POLLIN, 0};
    while (poll(&waiting, 1, waitMs) > 0) {
        const int connection = accept(listener, nullptr, nullptr);
        if (connection < 0)
            break;
        open.push_back(connection);
        ++accepted;
        waitMs = 0;
    }
    for (int connection : open) {
        char chunk[4096];
        ssize_t n = 0;
        while ((n = recv(connection, chunk, sizeof chunk, MSG_DONTWAIT)) > 0)
            received += n;
    }
}
