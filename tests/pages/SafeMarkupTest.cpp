// The markup that service values bring into the pages: formatting stays, script goes.
#include "pages/SafeMarkup.h"
#include "PagesFixture.h"
#include "pages/PageFiles.h"

namespace {

struct MarkupCase {
    const char *given;
    const char *written;
};

TEST(SafeMarkup, KeepsFormattingAsItIs) {
    for (const char *markup :
         {"<p>Satu</p>\r\n<p>Dua</p>", "ada <span class=\"hl\">kalimat</span>",
          "<span class=\"highlight\" style=\"background-color:#ffeb3b\">Cahaya</span>",
          "<p>Tom &amp; Jerry &lt;3 &#39;x&#39; &eacute;</p><br><b><i>ok</i></b>",
          "<a href=\"https://x.example/?a=1&amp;b=2\">situs</a>", "<img src=\"img/a.png\" alt=\"a\">",
          "<ul><li>a</li></ul><table><tr><td colspan=\"2\">x</td></tr></table>", "baris satu\nbaris dua"})
        EXPECT_EQ(safeMarkup(markup), markup);
}

TEST(SafeMarkup, DropsWhateverCouldRunScript) {
    const MarkupCase cases[] = {
        {"<script>app.logout()</script>teks", "teks"},
        {"<SCRIPT src=\"x.js\"></SCRIPT >ok", "ok"},
        {"<scr<script>ipt>x</script>", "ipt&gt;x"},
        {"<img src=x onerror=\"app.logout()\">", "<img src=\"x\">"},
        {"<p onclick=app.logout() class=tengah>a</p>", "<p class=\"tengah\">a</p>"},
        {"<a href=\"javascript:app.logout()\">klik</a>", "<a>klik</a>"},
        {"<a href=\" JavaScript:app.logout()\">klik</a>", "<a>klik</a>"},
        {"<a href=\"jav&#x09;ascript:app.logout()\">klik</a>", "<a>klik</a>"},
        {"<a href=\"java&#115;cript:app.logout()\">klik</a>", "<a>klik</a>"},
        {"<a href=\"javascript&colon;app.logout()\">klik</a>", "<a>klik</a>"},
        {"<a href=\"data:text/html,x\">d</a><img src=\"vbscript:x\">", "<a>d</a><img>"},
        {"<iframe src=\"https://x.example\"></iframe>setelah", "setelah"},
        {"<svg><script>app.logout()</script></svg>y", "y"},
        {"<style>body{display:none}</style>z", "z"},
        {"<object data=\"x\"><embed src=\"x\"></object>o", "o"},
        {"<!-- <script>app.logout()</script> -->k", "k"},
        {"<form action=\"javascript:x\"><button onclick=\"x()\">b</button></form>", "b"},
        {"<div id=\"keyword\" name=\"x\" data-x=\"1\">t</div>", "<div>t</div>"},
        {"<p title='\"><script>app.logout()</script>'>t</p>",
         "<p title=\"&quot;&gt;&lt;script&gt;app.logout()&lt;/script&gt;\">t</p>"},
        {"<meta http-equiv=\"refresh\" content=\"0\"><base href=\"x\">m", "m"},
        {"a < b & c > d", "a &lt; b &amp; c &gt; d"},
        {"<b>tebal</b", "<b>tebal"},
        {"<img src=\"x\" onerror=\"app.logout()\"", ""},
    };
    for (const MarkupCase &c : cases)
        EXPECT_EQ(safeMarkup(c.given), c.written) << c.given;
}

// The fields that carry markup on the pages go through it.
TEST_F(PagesTest, MarkupFieldsArriveWithoutScript) {
    loadSampleCatalogue(lib);
    const std::string hostile = "<p onmouseover=\"app.logout()\">Isi<script>app.logout()</script></p>"
                                "<a href=\"javascript:app.logout()\">x</a>";
    const std::string written = "<p>Isi</p><a>x</a>";
    JsonDocument client = *lib.FClientJson.load();
    client["data"]["keterangan_intro"] = hostile;
    setReply(lib.FClientJson, client.dump());
    JsonDocument detail = *lib.FDetailContentJson.load();
    detail["data"]["sinopsis"] = hostile;
    setReply(lib.FDetailContentJson, detail.dump());
    JsonDocument chart = JsonDocument::parse(R"({"data":[{"id_konten":"1"}]})");
    chart["data"][0]["sinopsis"] = hostile;
    setReply(lib.FChartContentJson, chart.dump());
    JsonDocument hits = JsonDocument::parse(R"({"total_rows":1,"data":[{"id":"1"}]})");
    hits["data"][0]["hal_txt"] = hostile;
    setReply(lib.FSearchContentJson, hits.dump());
    lib.renderHomeHtmlFile(view, 1);
    lib.renderDetailContent(view, "home");
    lib.renderTopChart(view, 1);
    lib.renderSearchKalimatResult(view, 1, "isi");
    for (const char *file :
         {PageFiles::Home, PageFiles::Detail, PageFiles::Chart, PageFiles::SentenceSearch}) {
        const std::string html = page(file);
        EXPECT_NE(html.find(written), std::string::npos) << file;
        EXPECT_EQ(html.find("app.logout()<"), std::string::npos) << file;
        EXPECT_EQ(html.find("javascript:app"), std::string::npos) << file;
        EXPECT_EQ(html.find("onmouseover"), std::string::npos) << file;
    }
    EXPECT_TRUE(shownBoxes().empty());
}

} // namespace
