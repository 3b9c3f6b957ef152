#pragma once
// Small images of a book's pages, rendered one at a time on a worker thread of their own in the order
// asked for, and kept in a store of bounded size that gives up the least recently used first.
//
// The worker reads a second engine document opened over the same bytes as the view's (a loaded byte array
// never changes), so it neither waits for nor holds the lock of the document a view draws: a page turn
// never waits for a thumbnail. What the worker shares with its owner, the queue and the store, is taken
// under one lock, which is never held while a page renders.

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <list>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>
#include <vector>

class PageThumbnails {
public:
    // Told on the worker thread that the thumbnail of a page is in the store.
    using Rendered = std::function<void(int pageIndex)>;

    // Thumbnails fit `box` (pixels, the page's proportions kept); at most `byteCap` bytes of them are held,
    // and always the last one rendered.
    PageThumbnails(QByteArray bytes, QSize box, std::size_t byteCap, Rendered rendered);
    // Drops the pages waiting, waits for the one in hand (no news of it comes) and frees the store.
    ~PageThumbnails();
    PageThumbnails(const PageThumbnails &) = delete;
    PageThumbnails &operator=(const PageThumbnails &) = delete;

    // Replaces the pages waiting with `order`, the first rendered first; pages held are left out.
    void request(const std::vector<int> &order);
    // The page's thumbnail, null while it is not held; counts as a use.
    QImage thumbnail(int pageIndex);
    std::size_t heldBytes() const;
    std::size_t heldCount() const;
    // Blocks until no page waits and none is in hand.
    void waitUntilIdle();

    // The bytes a thumbnail fitting `box` takes at most.
    static std::size_t bytesPerThumbnail(QSize box);

private:
    struct Held {
        QImage image;
        std::list<int>::iterator use;
    };
    void work();
    void keep(int pageIndex, QImage image);

    const QByteArray bytes;
    const QSize box;
    const std::size_t byteCap;
    const Rendered rendered;

    mutable std::mutex mutex; // guards everything below but the thread
    std::condition_variable wake, idle;
    std::deque<int> waiting;
    bool inHand = false;
    bool stopping = false;
    std::unordered_map<int, Held> store;
    std::list<int> uses; // the pages held, the most recently used first
    std::size_t bytesHeld = 0;
    std::set<int> unrenderable; // pages the engine could not render; not tried again
    std::thread worker;
};

// The order in which a strip of `pageCount` thumbnails showing pages firstShown..lastShown wants them: the
// pages shown, top to bottom, then outwards, the next one below before the next one above, at most
// `limit` pages in all.
std::vector<int> thumbnailOrder(int firstShown, int lastShown, int pageCount, int limit);
