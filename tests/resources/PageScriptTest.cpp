// Runs the archive's page script with its libraries, and the header's own script, in a real browser
// view and checks what the member gets on a catalogue page: filter menu, account menu, lazy covers,
// carousels, stars.
#include "ViewerArchive.h"
#include "pages/CatalogueHeader.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <chrono>

namespace {

// Keeps the script errors a page reports, so a library that breaks on load fails the test.
class RecordingPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;
    QStringList errors;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line,
                                  const QString &source) override {
        if (level == ErrorMessageLevel)
            errors.append(QStringLiteral("%1:%2 %3").arg(source).arg(line).arg(message));
    }
};

QString bookCard(int n) {
    return QStringLiteral(
               R"(<div class="col-md-2 col-sm-2 col-xs-12 list-item-wrap"><div class="list-item">)"
               R"(<a href="javascript:void(0);"><img src="img/loading.jpg" data-src="img/111.jpg" )"
               R"(alt="book" class="img-responsive center-block img-books lazyload">)"
               R"(<div class="describe-wrap"><h3 class="title-books">Book %1</h3>)"
               R"(<h4 class="author">Author</h4><h4 class="author">Stok : 1/2</h4>)"
               R"(<input  class="rating-detail" type="number" min="0" max="5" step="1" )"
               R"(data-size="sm" value="3"></div></a></div></div>)")
        .arg(n);
}

// A catalogue page with the header in its list form, two banners and one row of eight books,
// linking the assets in the order the home page does and ending with the header's script.
QString cataloguePage() {
    QString cards;
    for (int n = 1; n <= 8; ++n)
        cards += bookCard(n) + "\n";
    PageText header;
    headerScript(header);
    return QStringLiteral(R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Index</title>
<link href="css/bootstrap.min.css" rel="stylesheet">
<link rel="stylesheet" type="text/css" href="plugins/slick-slider/slick/slick-theme.css">
<link rel="stylesheet" type="text/css" href="plugins/slick-slider/slick/slick.css">
<link rel="stylesheet" type="text/css" href="plugins/bootstrap-star-rating/css/star-rating.css">
<link href="css/style.css" rel="stylesheet">
</head>
<body><div id="overlay"></div>
<header id="header" class="navbar navbar-default navbar-fixed-top"><div class="container">
<div class="col-sm-6 col-md-6 col-sm-offset-1"><div class="row"><div class="col-sm-12 col-md-12input-group search-area">
<span class="input-group-btn"><span class="icon-search" type="button"><span class="glyphicon glyphicon-search"></span></span></span>
<input type="hidden" name="search_param" value="all" id="search_param">
<form id="submitSearch"><input id="keyword" type="text" class="form-control" name="x" placeholder="Cari..."></form>
<div class="search-panel"><button type="button" class="btn btn-default btn-filter dropdown-toggle" data-toggle="dropdown">
<span id="search_concept">Semua</span> <span class="caret"></span></button>
<ul class="dropdown-menu" role="menu"><li><a href="#semua">Semua</a></li><li><a href="#contains">Penulis</a></li>
<li><a href="#its_equal">Penerbit</a></li><li><a href="#greather_than">ISBN</a></li><li><a href="#less_than">Kalimat</a></li></ul>
</div></div></div></div>
<ul class="nav navbar-nav navbar-right"><li class="dropdown login-wrap"><a href=""><img src="img/user.png" alt="avatar" class="img-responsive"></a>
<div class="dropdown-menu login-inner"><ul class="list-unstyled login-list"><li><a href="" title="" class="list-item">Pengaturan Akun</a></li>
<li role="separator" class="divider"></li><li><a href="" title="" class="list-item">Keluar</a></li></ul></div></li></ul>
</div></header>
<div class="section-wrapper"><div class="container"><div class="row"><div class="col-sm-12"><div class="banner">
<div><img src="img/loading-banner.jpg" data-src="img/banner_01.jpg" alt="banner" class="img-responsive lazyload"></div>
<div><img src="img/loading-banner.jpg" data-src="img/banner_02.jpg" alt="banner" class="img-responsive lazyload"></div>
</div></div></div>
<div class="col-sm-12 section-item"><div class="row small-gutters multiple-items">
%1</div></div></div></div>
<script src="js/jquery.js"></script>
<script src="js/bootstrap.min.js"></script>
<script src="js/lazyload.min.js"></script>
<script src="plugins/slick-slider/slick/slick.min.js"></script>
<script src="plugins/bootstrap-star-rating/js/star-rating.js"></script>
<script src="js/main.js"></script>
<script>
%2</script>
</body></html>
)")
        .arg(cards, QString::fromStdString(header.text));
}

class PageScript : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        for (const auto &[path, content] : readViewerArchive()) {
            QDir(folder->path()).mkpath(QFileInfo(path).path());
            QFile file(folder->filePath(path));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QFile page(folder->filePath("index.html"));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write(cataloguePage().toUtf8());
        page.close();

        view = new QWebEngineView;
        recording = new RecordingPage(view);
        view->setPage(recording);
        view->resize(1280, 900);
        view->show();
        QEventLoop loop;
        bool loaded = false;
        QObject::connect(recording, &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
            loaded = ok;
            loop.quit();
        });
        QTimer::singleShot(std::chrono::seconds(60), &loop, &QEventLoop::quit);
        recording->load(QUrl::fromLocalFile(folder->filePath("index.html")));
        loop.exec();
        ASSERT_TRUE(loaded);
    }
    static void TearDownTestSuite() {
        delete view; // and with it the page it parents
        delete folder;
    }

    static QVariant evaluate(const QString &script) {
        QEventLoop loop;
        QVariant result;
        recording->runJavaScript(script, [&](const QVariant &value) {
            result = value;
            loop.quit();
        });
        QTimer::singleShot(std::chrono::seconds(10), &loop, &QEventLoop::quit);
        loop.exec();
        return result;
    }

    // Polls a condition that the page reaches asynchronously (image loads, animations, autoplay).
    static bool eventually(const QString &condition) {
        for (int attempt = 0; attempt < 200; ++attempt) {
            if (evaluate(condition).toBool())
                return true;
            QEventLoop pause;
            QTimer::singleShot(50, &pause, &QEventLoop::quit);
            pause.exec();
        }
        return false;
    }

    static QTemporaryDir *folder;
    static RecordingPage *recording;
    static QWebEngineView *view;
};
QTemporaryDir *PageScript::folder = nullptr;
RecordingPage *PageScript::recording = nullptr;
QWebEngineView *PageScript::view = nullptr;

TEST_F(PageScript, LoadsWithoutScriptErrors) {
    EXPECT_TRUE(recording->errors.isEmpty()) << recording->errors.join('\n').toStdString();
    EXPECT_EQ(evaluate("typeof jQuery.fn.slick + typeof jQuery.fn.rating + typeof LazyLoad").toString(),
              "functionfunctionfunction");
}

TEST_F(PageScript, FilterItemSetsTheLabelAndTheParameter) {
    const std::pair<const char *, const char *> items[] = {
        {"contains", "Penulis"}, {"less_than", "Kalimat"}, {"semua", "Semua"}};
    for (const auto &[link, label] : items) {
        evaluate(QStringLiteral("$('.search-panel .dropdown-menu a[href=\"#%1\"]').click()").arg(link));
        EXPECT_EQ(evaluate("$('#search_concept').text()").toString(), label);
        EXPECT_EQ(evaluate("$('#search_param').val()").toString(), link);
    }
    EXPECT_EQ(evaluate("location.hash").toString(), ""); // the item's link is not followed
}

TEST_F(PageScript, AccountMenuOpensOnHoverOverTheOverlay) {
    evaluate("$('.login-wrap').trigger('mouseenter')");
    EXPECT_TRUE(evaluate("$('.login-wrap').hasClass('open')").toBool());
    EXPECT_TRUE(evaluate("$('#overlay').is(':visible')").toBool());
    EXPECT_TRUE(eventually("$('.login-inner').is(':visible') && $('.login-inner').css('opacity') == '1'"));

    evaluate("$('.login-wrap').trigger('mouseleave')");
    EXPECT_FALSE(evaluate("$('.login-wrap').hasClass('open')").toBool());
    EXPECT_FALSE(evaluate("$('#overlay').is(':visible')").toBool());
    EXPECT_TRUE(eventually("!$('.login-inner').is(':visible')"));
}

TEST_F(PageScript, BookRowBecomesASixWideInfiniteCarousel) {
    EXPECT_TRUE(evaluate("$('.multiple-items').hasClass('slick-initialized')").toBool());
    EXPECT_EQ(evaluate("$('.multiple-items .slick-slide:not(.slick-cloned)').length").toInt(), 8);
    EXPECT_EQ(evaluate("$('.multiple-items .slick-slide.slick-active').length").toInt(), 6);
    EXPECT_GT(evaluate("$('.multiple-items .slick-cloned').length").toInt(), 0);
    EXPECT_EQ(evaluate("$('.multiple-items').slick('slickGetOption', 'slidesToScroll')").toInt(), 6);
}

TEST_F(PageScript, BannersAutoplayWithDotsAndNoArrows) {
    EXPECT_TRUE(evaluate("$('.banner').hasClass('slick-initialized')").toBool());
    EXPECT_EQ(evaluate("$('.banner .slick-dots li').length").toInt(), 2);
    EXPECT_EQ(evaluate("$('.banner .slick-arrow').length").toInt(), 0);
    EXPECT_EQ(evaluate("$('.banner').slick('slickGetOption', 'autoplaySpeed')").toInt(), 2000);
    EXPECT_TRUE(eventually("$('.banner').slick('slickCurrentSlide') === 1"));
}

TEST_F(PageScript, VisibleCoversAreSwappedForTheirRealPictures) {
    EXPECT_TRUE(
        eventually("(function () {"
                   "  var imgs = $('.multiple-items .slick-active img.img-books');"
                   "  return imgs.length === 6 && imgs.filter(function () {"
                   "    return this.getAttribute('src') === 'img/111.jpg' && this.naturalWidth === 200;"
                   "  }).length === 6;"
                   "})()"));
    EXPECT_TRUE(eventually("$('.banner .slick-current img').attr('src') === 'img/banner_01.jpg'"
                           " || $('.banner .slick-current img').attr('src') === 'img/banner_02.jpg'"));
}

TEST_F(PageScript, RatingsBecomeReadOnlyStars) {
    EXPECT_EQ(
        evaluate("$('.multiple-items .slick-slide:not(.slick-cloned) .rating-container').length").toInt(), 8);
    EXPECT_EQ(evaluate("$('.rating-detail.hide').length").toInt(),
              evaluate("$('.rating-detail').length").toInt());
    EXPECT_EQ(evaluate("$('.rating-container').first().find('.filled-stars')[0].style.width").toString(),
              "60%");
    EXPECT_TRUE(evaluate("$('.rating-container').first().hasClass('rating-disabled')").toBool());
    EXPECT_EQ(evaluate("$('.rating-container .caption, .rating-container .clear-rating').length").toInt(), 0);

    // Hovering or clicking the stars changes nothing.
    evaluate("var stars = $('.rating-container').first().find('.rating');"
             "stars.trigger($.Event('mousemove', {pageX: stars.offset().left + 2}));"
             "stars.trigger($.Event('click', {pageX: stars.offset().left + 2}));");
    EXPECT_EQ(evaluate("$('.rating-detail').first().val()").toString(), "3");
    EXPECT_EQ(evaluate("$('.rating-container').first().find('.filled-stars')[0].style.width").toString(),
              "60%");
}

// The list pages start their stars with readOnly, which the plugin does not read; the stars must
// still ignore a real click.
TEST_F(PageScript, StarsIgnoreTheMemberWhateverTheOptions) {
    const QString rect =
        evaluate("$('<div id=\"probe\" style=\"position:fixed;left:300px;top:300px;z-index:5000\">"
                 "<input class=\"rating-detail\" type=\"number\" min=\"0\" max=\"5\" step=\"1\" "
                 "value=\"2\"></div>')"
                 ".appendTo('body').find('input').rating({glyphicon: false, ratingClass: 'rating-fa', size: "
                 "'xs', step: 1,"
                 " showClear: false, showCaption: false, readOnly: true});"
                 "window.probeClicks = 0; document.addEventListener('click', function () { "
                 "++window.probeClicks; });"
                 "JSON.stringify($('#probe .rating')[0].getBoundingClientRect())")
            .toString();
    const QJsonObject box = QJsonDocument::fromJson(rect.toUtf8()).object();
    ASSERT_GT(box["width"].toDouble(), 10) << rect.toStdString();
    const QPoint lastStar(int(box["right"].toDouble() - 4),
                          int(box["top"].toDouble() + box["height"].toDouble() / 2));

    QWidget *surface = view->focusProxy();
    ASSERT_NE(surface, nullptr);
    QTest::mouseMove(surface, lastStar);
    QTest::mouseClick(surface, Qt::LeftButton, {}, lastStar);
    EXPECT_TRUE(eventually("window.probeClicks === 1")); // the click has reached the page
    EXPECT_EQ(evaluate("$('#probe input').val()").toString(), "2");
    EXPECT_EQ(evaluate("$('#probe .filled-stars')[0].style.width").toString(), "40%");
}

} // namespace
