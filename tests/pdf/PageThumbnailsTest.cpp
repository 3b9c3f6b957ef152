// Page thumbnails rendered on their own worker: the order they are made in, the queue replaced and
// dropped, the store's bound, and the images themselves.
#include "pdf/PageThumbnails.h"
#include "tests/pdf/CorePdfBuilder.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <map>
#include <mutex>
#include <numeric>
#include <utility>

namespace {

const QSize Box(60, 80);

// Records the pages whose thumbnails come in, in order; safe to call from the worker.
struct Arrivals {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> pages;

    PageThumbnails::Rendered recorder() {
        return [this](int page) {
            {
                const std::lock_guard lock(mutex);
                pages.push_back(page);
            }
            changed.notify_all();
        };
    }
    std::vector<int> seen() {
        const std::lock_guard lock(mutex);
        return pages;
    }
    void waitForCount(std::size_t count) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return pages.size() >= count; });
    }
};

QByteArray book(int pages) {
    static std::map<int, QByteArray> made;
    QByteArray &bytes = made[pages];
    if (bytes.isEmpty())
        bytes = QByteArray::fromStdString(buildBookPdf(pages));
    return bytes;
}

bool hasInk(const QImage &image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

TEST(PageThumbnails, TheOrderAStripWantsIsTheShownPagesThenOutwards) {
    const struct {
        const char *label;
        int first, last, count, limit;
        std::vector<int> order;
    } cases[] = {
        {"shown, then below before above", 4, 6, 20, 9, {4, 5, 6, 7, 3, 8, 2, 9, 1}},
        {"at the start only below", 0, 2, 20, 6, {0, 1, 2, 3, 4, 5}},
        {"at the end only above", 17, 19, 20, 6, {17, 18, 19, 16, 15, 14}},
        {"a short book whole", 0, 1, 4, 50, {0, 1, 2, 3}},
        {"the limit cuts the shown pages", 10, 15, 40, 3, {10, 11, 12}},
        {"shown pages past the end are clamped", 2, 9, 5, 10, {2, 3, 4, 1, 0}},
        {"no pages", 0, 0, 0, 10, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(thumbnailOrder(c.first, c.last, c.count, c.limit), c.order);
    }
}

TEST(PageThumbnails, ComeInTheOrderAskedAndPagesHeldAreNotMadeAgain) {
    Arrivals arrivals;
    PageThumbnails thumbnails(book(12), Box, 64 << 20, arrivals.recorder());
    const std::vector<int> order = {5, 3, 9, 0, 11};
    thumbnails.request(order);
    thumbnails.waitUntilIdle();
    EXPECT_EQ(arrivals.seen(), order);
    thumbnails.request({3, 4, 5});
    thumbnails.waitUntilIdle();
    EXPECT_EQ(arrivals.seen(), (std::vector<int>{5, 3, 9, 0, 11, 4}));
    EXPECT_EQ(thumbnails.heldCount(), 6u);
}

TEST(PageThumbnails, ANewRequestReplacesThePagesStillWaiting) {
    std::promise<void> firstIn, goOn;
    std::shared_future<void> released = goOn.get_future().share();
    Arrivals arrivals;
    PageThumbnails thumbnails(book(30), Box, 64 << 20, [&, first = true](int page) mutable {
        arrivals.recorder()(page);
        if (std::exchange(first, false)) {
            firstIn.set_value();
            released.wait(); // the worker holds here while the strip scrolls elsewhere
        }
    });
    std::vector<int> everyPage(30);
    std::iota(everyPage.begin(), everyPage.end(), 0);
    thumbnails.request(everyPage);
    firstIn.get_future().wait();
    thumbnails.request({20, 21});
    goOn.set_value();
    thumbnails.waitUntilIdle();
    EXPECT_EQ(arrivals.seen(), (std::vector<int>{0, 20, 21}));
}

TEST(PageThumbnails, ClosingDropsTheQueueAndNoNewsComesAfterwards) {
    Arrivals arrivals;
    auto thumbnails = std::make_unique<PageThumbnails>(book(200), Box, 64 << 20, arrivals.recorder());
    std::vector<int> everyPage(200);
    std::iota(everyPage.begin(), everyPage.end(), 0);
    thumbnails->request(everyPage);
    arrivals.waitForCount(1);
    thumbnails.reset(); // waits for the page in hand only, not for the pages waiting
    EXPECT_LT(arrivals.seen().size(), everyPage.size());
}

TEST(PageThumbnails, TheStoreKeepsToItsBoundGivingUpTheLeastRecentlyUsed) {
    const std::size_t perThumbnail = PageThumbnails::bytesPerThumbnail(Box);
    Arrivals arrivals;
    PageThumbnails thumbnails(book(40), Box, 10 * perThumbnail, arrivals.recorder());
    std::vector<int> first(10);
    std::iota(first.begin(), first.end(), 0);
    thumbnails.request(first);
    thumbnails.waitUntilIdle();
    EXPECT_FALSE(thumbnails.thumbnail(2).isNull()); // used: kept while 0, 1, 3... go
    thumbnails.request({20, 21, 22, 23, 24});
    thumbnails.waitUntilIdle();
    EXPECT_LE(thumbnails.heldBytes(), 10 * perThumbnail);
    EXPECT_FALSE(thumbnails.thumbnail(2).isNull());
    EXPECT_FALSE(thumbnails.thumbnail(24).isNull());
    for (int page : {0, 1, 3, 4})
        EXPECT_TRUE(thumbnails.thumbnail(page).isNull()) << page;
    EXPECT_FALSE(thumbnails.thumbnail(9).isNull());
    EXPECT_EQ(thumbnails.heldCount(), 10u);
}

TEST(PageThumbnails, APageAskedForTwiceIsMadeAndHeldOnce) {
    const std::size_t perThumbnail = PageThumbnails::bytesPerThumbnail(Box);
    Arrivals arrivals;
    PageThumbnails thumbnails(book(8), Box, perThumbnail, arrivals.recorder());
    thumbnails.request({5, 5, 5});
    thumbnails.waitUntilIdle();
    EXPECT_EQ(arrivals.seen(), std::vector<int>{5});
    thumbnails.request({6}); // the store gives up page 5 for it
    thumbnails.waitUntilIdle();
    EXPECT_EQ(thumbnails.heldCount(), 1u);
    EXPECT_LE(thumbnails.heldBytes(), perThumbnail);
    EXPECT_TRUE(thumbnails.thumbnail(5).isNull());
    EXPECT_FALSE(thumbnails.thumbnail(6).isNull());
}

TEST(PageThumbnails, ImagesFitTheBoxInThePagesProportionsAndShowThePage) {
    std::vector<FixturePage> pages(2);
    pages[0].content = "0 0 0 rg 50 50 500 700 re f\n"; // portrait, mostly black
    pages[1].width = 792;
    pages[1].height = 612;
    pages[1].content = "0 0 0 rg 50 50 700 500 re f\n"; // landscape
    Arrivals arrivals;
    PageThumbnails thumbnails(QByteArray::fromStdString(buildFixturePdf(pages)), Box, 64 << 20,
                              arrivals.recorder());
    thumbnails.request({0, 1});
    thumbnails.waitUntilIdle();
    const QImage portrait = thumbnails.thumbnail(0), landscape = thumbnails.thumbnail(1);
    EXPECT_EQ(portrait.size(), QSize(60, 78)); // 612 x 792 into 60 x 80
    EXPECT_EQ(landscape.size(), QSize(60, 46));
    EXPECT_TRUE(hasInk(portrait));
    EXPECT_TRUE(hasInk(landscape));
    EXPECT_EQ(qGray(portrait.pixel(0, 0)), 255); // the margin stays white
}

TEST(PageThumbnails, ABookTheEngineCannotOpenGivesNoThumbnails) {
    Arrivals arrivals;
    PageThumbnails thumbnails(QByteArray("%PDF-1.7 nothing here"), Box, 64 << 20, arrivals.recorder());
    thumbnails.request({0, 1, 2});
    thumbnails.waitUntilIdle();
    thumbnails.request({0, 1, 2}); // not tried again
    thumbnails.waitUntilIdle();
    EXPECT_TRUE(arrivals.seen().empty());
    EXPECT_EQ(thumbnails.heldCount(), 0u);
}

// A page the engine refuses (a signature field) keeps its blank frame, silently, and is not tried again;
// the pages around it come as usual.
TEST(PageThumbnails, APageTheEngineRefusesGivesNoThumbnailAndTheOthersCome) {
    std::vector<FixturePage> pages(3);
    pages[1].annots = {FixtureSignatureField};
    Arrivals arrivals;
    PageThumbnails thumbnails(QByteArray::fromStdString(buildFixturePdf(pages)), Box, 64 << 20,
                              arrivals.recorder());
    thumbnails.request({0, 1, 2});
    thumbnails.waitUntilIdle();
    thumbnails.request({1}); // not tried again
    thumbnails.waitUntilIdle();
    EXPECT_EQ(arrivals.seen(), (std::vector<int>{0, 2}));
    EXPECT_TRUE(thumbnails.thumbnail(1).isNull());
}
