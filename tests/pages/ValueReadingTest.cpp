// Taking values out of the replies, and putting them into the page as text.
#include "PagesFixture.h"
#include "pages/JsonValues.h"
#include "pages/PageFile.h"
#include "pages/PageFiles.h"
#include "web/HtmlText.h"

#include <QUrl>

#include <stdexcept>

namespace {

const JsonDocument values = JsonDocument::parse(R"({
    "text":"teks","empty":"","whole":42,"negative":-7,"big":18446744073709551615,"fraction":4.5,
    "tiny":0.1,"huge":1e20,"small":1.5e-7,"yes":true,"no":false,"nothing":null,"list":[1],"object":{},
    "numeric":"12","numericFraction":"9.99","words":"dua belas","spaced":" 3"})");

TEST(ValueReading, TextFollowsTheReadingRules) {
    const std::pair<const char *, const char *> cases[] = {
        {"text", "teks"},    {"empty", ""},      {"missing", ""},
        {"whole", "42"},     {"negative", "-7"}, {"big", "18446744073709551615"},
        {"fraction", "4.5"}, {"tiny", "0.1"},    {"huge", "1E20"},
        {"small", "1.5E-7"}, {"yes", "true"},    {"no", "false"},
    };
    for (const auto &[key, expected] : cases)
        EXPECT_EQ(textMember(values, key), expected) << key;
    for (const char *key : {"nothing", "list", "object"})
        EXPECT_THROW(textMember(values, key), std::runtime_error) << key;
}

TEST(ValueReading, NumbersFollowTheReadingRules) {
    const std::pair<const char *, long long> cases[] = {
        {"missing", 0},  {"whole", 42}, {"negative", -7},       {"fraction", 4},
        {"numeric", 12}, {"yes", 1},    {"numericFraction", 9}, {"no", 0},
    };
    for (const auto &[key, expected] : cases)
        EXPECT_EQ(numberMember(values, key), expected) << key;
    for (const char *key : {"nothing", "words", "empty", "spaced", "text", "list", "object", "huge"})
        EXPECT_THROW(numberMember(values, key), std::runtime_error) << key;
}

TEST(ValueReading, ArraysAndObjects) {
    EXPECT_TRUE(arrayMember(values, "missing").empty());
    EXPECT_EQ(arrayMember(values, "list").size(), 1u);
    for (const char *key : {"nothing", "object", "text"})
        EXPECT_THROW(arrayMember(values, key), std::runtime_error) << key;
    EXPECT_THROW(objectMember(values, "missing"), std::runtime_error);
    EXPECT_THROW(objectMember(values, "list"), std::runtime_error);
    EXPECT_TRUE(isNullOrMissing(values, "nothing"));
    EXPECT_TRUE(isNullOrMissing(values, "missing"));
    EXPECT_FALSE(isNullOrMissing(values, "empty"));
    // A book that is not an object cannot be read from.
    EXPECT_THROW(textMember(values["list"][0], "judul"), std::runtime_error);
}

TEST(HtmlEncoding, OnlyTheFourCharactersChange) {
    EXPECT_EQ(htmlEncode(R"(<a href="x">Tom & Jerry's</a>)"),
              "&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry's&lt;/a&gt;");
    EXPECT_EQ(htmlEncode("&amp; é \\ \r\n"), "&amp;amp; é \\ \r\n");
}

TEST(PageAddress, NamesExactlyTheWrittenPathWhateverItsFolderHolds) {
    const std::pair<const char *, const char *> cases[] = {
        {"/home/ana/.local/share/QMT3074d18/index.html",
         "file:///home/ana/.local/share/QMT3074d18/index.html"},
        {"/home/ana/Data Saya/index.html", "file:///home/ana/Data%20Saya/index.html"},
        {"/home/100%/index.html", "file:///home/100%25/index.html"},
        {"/home/%41/index.html", "file:///home/%2541/index.html"},
        {"/home/a#1/index.html", "file:///home/a%231/index.html"},
        {"/home/why?/index.html", "file:///home/why%3F/index.html"},
        {"/home/a\\b/index.html", "file:///home/a%5Cb/index.html"},
        {"/home/\xC3\xA9/index.html", "file:///home/%C3%A9/index.html"},
    };
    for (const auto &[path, address] : cases) {
        EXPECT_EQ(pageUrl(path), address) << path;
        EXPECT_EQ(QUrl(QString::fromStdString(pageUrl(path))).toLocalFile().toStdString(), path) << path;
    }
}

TEST_F(PagesTest, BookTextsArriveEncodedOnHomeAndSectionPages) {
    loadSampleCatalogue(lib);
    lib.renderHomeHtmlFile(view, 1);
    lib.renderHomeDetailHtmlFile(view, "S");
    const std::string home = page(PageFiles::Home), section = page(PageFiles::Section);
    EXPECT_NE(home.find("<h3 class=\"title-books\">A &lt; B &amp; C</h3>"), std::string::npos);
    EXPECT_NE(section.find("<h3 class=\"title-books\">A &lt; B &amp; C</h3>"), std::string::npos);
    // Numbers sent as numbers are written as their digits.
    EXPECT_NE(home.find("<h4 class=\"author\">Stok : 2/5</h4>"), std::string::npos);
    EXPECT_NE(section.find("<h4 class=\"author\">Stok : 0/3</h4>"), std::string::npos);
    // A missing colour leaves the declaration empty.
    setReply(lib.FClientJson, R"({"data":{}})");
    lib.renderHomeHtmlFile(view, 1);
    EXPECT_NE(page(PageFiles::Home).find(".navbar-default{\r\nbackground-color: ;\r\n}"), std::string::npos);
}

TEST_F(PagesTest, PagesAreUtf8WithoutByteOrderMark) {
    loadSampleCatalogue(lib);
    setReply(lib.FClientJson, R"({"data":{"nama":"Pustaka Ñusantara – 図書館"}})");
    lib.renderLoginHtmlFile(view);
    const std::string login = page(PageFiles::Login);
    EXPECT_TRUE(login.starts_with("<!doctype html>"));
    EXPECT_NE(login.find("<h2 class=\"text-center\">Pustaka Ñusantara – 図書館</h2>"), std::string::npos);
}

TEST_F(PagesTest, AbsentArraysGiveTheFrameWithoutItems) {
    setReply(lib.FClientJson, R"({"data":{}})");
    setReply(lib.FBannerJson, R"({"code":"200"})");
    setReply(lib.FHomeContentJson, R"({"code":"200"})");
    lib.renderHomeHtmlFile(view, 1);
    const std::string home = page(PageFiles::Home);
    EXPECT_NE(home.find("<div class=\"banner\">\r\n</div>\r\n"), std::string::npos);
    EXPECT_NE(home.find("<div id=\"myBooks\">\r\n<!--KONTEN-->\r\n</div>\r\n"), std::string::npos);
    EXPECT_EQ(home.find("<div id=\"myModal\""), std::string::npos);
    EXPECT_TRUE(shownBoxes().empty());
}

} // namespace
