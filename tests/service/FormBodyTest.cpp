#include "service/FormBody.h"
#include "service/BookDownload.h"
#include "service/UrlPath.h"

#include <gtest/gtest.h>

TEST(FormBody, EncodesNamesAndValuesAsUtf8WithPlusForSpace) {
    const struct {
        std::string text;
        std::string encoded;
    } cases[] = {
        {"a b", "a+b"},
        {"x&y=z", "x%26y%3Dz"},
        {"Azaz09*-._", "Azaz09*-._"},
        {"~!'()+/", "%7E%21%27%28%29%2B%2F"},
        {"Pérpus Ñ", "P%C3%A9rpus+%C3%91"},
        {"\r\n%", "%0D%0A%25"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(encodeFormComponent(c.text), c.encoded) << c.text;
}

TEST(FormBody, JoinsPairsInListOrder) {
    EXPECT_EQ(encodeForm({{"page", "2"}, {"keyword", "a b&c"}, {"field", "judul"}}),
              "page=2&keyword=a+b%26c&field=judul");
    EXPECT_EQ(encodeForm({{"z", ""}, {"a", "1"}}), "z=&a=1");
    EXPECT_EQ(encodeForm({}), "");
}

TEST(UrlPath, EncodesOneSegmentSoItCannotClimb) {
    EXPECT_EQ(encodePathSegment("buku 1.pdf"), "buku%201.pdf");
    EXPECT_EQ(encodePathSegment("a/b?c#d"), "a%2Fb%3Fc%23d");
    EXPECT_EQ(encodePathSegment(".."), "%2E%2E");
    EXPECT_EQ(encodePathSegment("."), "%2E");
    EXPECT_EQ(encodePathSegment("..x"), "..x");
}

TEST(BookAddress, StaysInsideTheBookFolder) {
    const std::string base = "https://lib.example";
    const struct {
        std::string name;
        std::string address; // "" = refused
    } cases[] = {
        {"abc.pdf", "https://lib.example/pc/rvs/abc.pdf"},
        {"2020/Buku Satu.pdf", "https://lib.example/pc/rvs/2020/Buku%20Satu.pdf"},
        {"a?b=1#c", "https://lib.example/pc/rvs/a%3Fb%3D1%23c"},
        {"https://evil.example/x.pdf", ""}, // the empty segment after "https:"
        {"file:///etc/passwd", ""},
        {"../etc/passwd", ""},
        {"a/../../b", ""},
        {"./a", ""},
        {"/abs.pdf", ""},
        {"a\\..\\b", ""},
        {"", ""},
        {"a/", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(bookAddress(base, c.name), c.address) << c.name;
}
