// Borrowing, stock, returning with the last page, reading status, annotations and copied texts.
#include "ServiceHarness.h"

#include "devserver/Database.h"
#include "devserver/SampleContent.h"

#include <gtest/gtest.h>

using namespace devserver;
using namespace devserver::testing;

namespace {

class DevServerLoans : public ::testing::Test {
protected:
    void SetUp() override {
        for (std::size_t i = 0; i < 2; ++i) {
            const SampleMember &m = sampleMembers().at(i);
            sessions[i] = client.login(m.username, m.password, "10A" + std::to_string(i));
            ASSERT_FALSE(sessions[i].empty());
        }
    }
    Reply borrow(const std::string &book, int who = 0) {
        return client.postForm("/api/wl/requestBaca", {{"id_konten", book}}, sessions[who]);
    }
    Reply giveBack(const Reply &loan, const std::string &book, const std::string &page, int who = 0) {
        return client.postForm(
            "/api/wl/bookReturn",
            {{"id_konten", book}, {"id_baca", loan.json.value("id_baca", "")}, {"page_index", page}},
            sessions[who]);
    }
    std::int64_t stock(const std::string &book) {
        return sharedService()
            .server()
            .database()
            .queryOne("SELECT stok FROM books WHERE id = ?", {book})
            ->integer(0);
    }

    ServiceClient client{sharedService()};
    httplib::Headers sessions[2];
};

std::string annotationDocument(const std::string &book, int entries) {
    Json doc = {{"id_konten", book}, {"data", Json::array()}};
    for (int i = 0; i < entries; ++i)
        doc["data"].push_back(
            {{"page", i},
             {"type", "RECTANGLE"},
             {"color", 255},
             {"point", {{"left", 10.5}, {"top", 700.25}, {"right", 200.0}, {"bottom", 650.0}}}});
    return doc.dump(2);
}

} // namespace

TEST_F(DevServerLoans, ALoanTakesOneCopyAndTheReturnGivesItBack) {
    const std::string book = "1020";
    const auto before = stock(book);
    Reply loan = borrow(book);
    ASSERT_EQ(loan.code(), "200") << loan.body;
    EXPECT_FALSE(loan.json["id_baca"].get<std::string>().empty());
    EXPECT_TRUE(loan.json["page_index"].is_number_integer());
    EXPECT_TRUE(loan.json["rate"].is_number_integer());
    EXPECT_EQ(loan.json["file_anotasi"], "0");
    EXPECT_EQ(stock(book), before - 1);

    Reply again = borrow(book);
    EXPECT_NE(again.code(), "200");
    EXPECT_FALSE(again.msg().empty());
    EXPECT_EQ(stock(book), before - 1);

    EXPECT_EQ(giveBack(loan, book, "7").code(), "200");
    EXPECT_EQ(stock(book), before);
    EXPECT_NE(giveBack(loan, book, "7").code(), "200"); // already back, no stock created
    EXPECT_EQ(stock(book), before);

    Reply next = borrow(book);
    ASSERT_EQ(next.code(), "200");
    EXPECT_EQ(next.json["page_index"], 7);
    EXPECT_NE(next.json["id_baca"], loan.json["id_baca"]);
    EXPECT_EQ(giveBack(next, book, "0").code(), "200");
}

TEST_F(DevServerLoans, ABookWithoutStockIsRefusedUntilACopyComesBack) {
    Reply none = borrow(kBookOutOfStock);
    EXPECT_NE(none.code(), "200");
    EXPECT_FALSE(none.msg().empty());

    Reply last = borrow(kBookLastCopy, 0);
    ASSERT_EQ(last.code(), "200");
    Reply refused = borrow(kBookLastCopy, 1);
    EXPECT_NE(refused.code(), "200");
    EXPECT_FALSE(refused.msg().empty());
    EXPECT_EQ(stock(kBookLastCopy), 0);
    ASSERT_EQ(giveBack(last, kBookLastCopy, "1").code(), "200");
    Reply now = borrow(kBookLastCopy, 1);
    EXPECT_EQ(now.code(), "200");
    EXPECT_EQ(giveBack(now, kBookLastCopy, "1", 1).code(), "200");
}

TEST_F(DevServerLoans, UnknownBooksAndForeignLoansAreRefused) {
    EXPECT_NE(borrow("999999").code(), "200");
    EXPECT_NE(borrow("' OR 1=1 --").code(), "200");
    Reply loan = borrow("1021");
    ASSERT_EQ(loan.code(), "200");
    EXPECT_NE(giveBack(loan, "1021", "1", 1).code(), "200"); // another member's loan
    EXPECT_NE(giveBack(loan, "1022", "1").code(), "200");    // another book
    EXPECT_NE(giveBack(loan, "1021", "100000").code(), "200");
    EXPECT_NE(giveBack(loan, "1021", "-1").code(), "200");
    EXPECT_EQ(giveBack(loan, "1021", "1").code(), "200");
}

TEST_F(DevServerLoans, AMemberHoldsAtMostThreeBooks) {
    std::vector<std::pair<std::string, Reply>> loans;
    for (const char *book : {"1023", "1024", "1025"}) {
        loans.emplace_back(book, borrow(book));
        ASSERT_EQ(loans.back().second.code(), "200");
    }
    Reply fourth = borrow("1026");
    EXPECT_NE(fourth.code(), "200");
    EXPECT_FALSE(fourth.msg().empty());
    for (auto &[book, loan] : loans)
        EXPECT_EQ(giveBack(loan, book, "0").code(), "200");
}

TEST_F(DevServerLoans, StatusReportsAreKeptAndStatusZeroEndsTheLoan) {
    const std::string book = "1027";
    const auto before = stock(book);
    Reply loan = borrow(book);
    ASSERT_EQ(loan.code(), "200");
    const std::string id = loan.json["id_baca"];
    auto status = [&](const std::string &value) {
        return client.postForm("/api/wl/updateReadStatus", {{"id_baca", id}, {"status", value}}, sessions[0]);
    };
    EXPECT_EQ(status("1").code(), "200");
    EXPECT_NE(status("2").code(), "200");
    EXPECT_NE(
        client.postForm("/api/wl/updateReadStatus", {{"id_baca", id}, {"status", "1"}}, sessions[1]).code(),
        "200");
    EXPECT_EQ(status("0").code(), "200");
    EXPECT_EQ(stock(book), before);
    EXPECT_NE(status("1").code(), "200");
    EXPECT_NE(giveBack(loan, book, "3").code(), "200");

    auto rows = sharedService().server().database().query(
        "SELECT status, reported FROM read_status WHERE id_baca = ? ORDER BY id", {std::stoll(id)});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text(0), "1");
    EXPECT_EQ(rows[1].text(0), "0");
    EXPECT_FALSE(rows[0].text(1).empty());
    EXPECT_EQ(borrow(book).code(), "200"); // the member may borrow it again
}

TEST_F(DevServerLoans, TheLatestAnnotationDocumentComesBackWithTheNextLoan) {
    const std::string book = "1028";
    Reply loan = borrow(book);
    ASSERT_EQ(loan.code(), "200");
    ASSERT_EQ(giveBack(loan, book, "4").code(), "200");
    for (int entries : {1, 3})
        ASSERT_EQ(client
                      .postRaw("/api/wl/saveAnotasi", annotationDocument(book, entries),
                               "application/json; charset=utf-8", sessions[0])
                      .code(),
                  "200");

    Reply next = borrow(book);
    ASSERT_EQ(next.code(), "200");
    const std::string url = next.json["file_anotasi"];
    const std::string prefix = sharedService().base();
    ASSERT_EQ(url.rfind(prefix + "/", 0), 0u) << url;
    Reply stored = client.get(url.substr(prefix.size()), sessions[0]);
    ASSERT_EQ(stored.status, 200);
    EXPECT_EQ(stored.json["id_konten"], book);
    EXPECT_EQ(stored.json["data"].size(), 3u);
    EXPECT_EQ(stored.json["data"][0]["point"]["top"], 700.25);
    EXPECT_EQ(client.get(url.substr(prefix.size()), sessions[1]).code(), "404"); // not another member's
    EXPECT_EQ(giveBack(next, book, "4").code(), "200");

    // Without a loan of the book, nothing is stored.
    ASSERT_FALSE(sharedService().server().database().queryOne(
        "SELECT 1 FROM loans WHERE book_id = '1006' AND id_user = ?",
        {std::stoll(sessions[1].find("USERID")->second)}));
    EXPECT_NE(
        client.postRaw("/api/wl/saveAnotasi", annotationDocument("1006", 1), "application/json", sessions[1])
            .code(),
        "200");
}

TEST_F(DevServerLoans, CopiedTextsAreKeptOncePerPageAndText) {
    const std::string book = "1030";
    Reply loan = borrow(book);
    ASSERT_EQ(loan.code(), "200");
    ASSERT_EQ(giveBack(loan, book, "2").code(), "200");
    Json doc = {
        {"id_konten", book},
        {"data",
         {{{"page", "IV"}, {"text", "Frasa \"pertama\" & <kedua>"}}, {{"page", "3"}, {"text", "lain"}}}}};
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(
            client.postRaw("/api/wl/copyText", doc.dump(2), "application/json; charset=utf-8", sessions[0])
                .code(),
            "200");
    auto rows = sharedService().server().database().query(
        "SELECT page, text FROM copied_texts WHERE book_id = ? AND id_user = 1 ORDER BY id", {book});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text(0), "IV");
    EXPECT_EQ(rows[0].text(1), "Frasa \"pertama\" & <kedua>");

    for (const char *bad : {"", "[]", "{\"id_konten\": 1030}", "{\"data\": []}", "{not json"})
        EXPECT_NE(client.postRaw("/api/wl/copyText", bad, "application/json", sessions[0]).code(), "200")
            << bad;
}

TEST_F(DevServerLoans, ALoginElsewhereReturnsTheBooksTheOldSessionHeld) {
    const std::string book = "1032";
    const auto before = stock(book);
    Reply loan = borrow(book, 1);
    ASSERT_EQ(loan.code(), "200");
    EXPECT_EQ(stock(book), before - 1);

    const SampleMember &m = sampleMembers().at(1);
    httplib::Headers elsewhere = client.login(m.username, m.password, "E15E0001");
    ASSERT_FALSE(elsewhere.empty());
    EXPECT_EQ(stock(book), before);
    EXPECT_EQ(giveBack(loan, book, "1", 1).msg(), "Auth Failed");
    Reply again = client.postForm("/api/wl/requestBaca", {{"id_konten", book}}, elsewhere);
    ASSERT_EQ(again.code(), "200");
    EXPECT_EQ(client
                  .postForm("/api/wl/bookReturn",
                            {{"id_konten", book}, {"id_baca", again.json["id_baca"]}, {"page_index", "0"}},
                            elsewhere)
                  .code(),
              "200");
}
