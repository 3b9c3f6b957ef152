#include "ViewerArchive.h"

#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

QString styleSheet() {
    const auto files = readViewerArchive();
    const auto found = files.find("css/style.css");
    return found == files.end() ? QString() : QString::fromUtf8(found->second);
}

// The branding step replaces the placeholders line by line, so each must sit inside a declaration.
TEST(StyleSheet, KeepsBothBrandingPlaceholdersInDeclarations) {
    const QString css = styleSheet();
    ASSERT_FALSE(css.isEmpty());
    for (const char *placeholder : {"[WARNA_BUTTON_LOGIN]", "[WARNA_HOVER_BUTTON_LOGIN]"}) {
        const QRegularExpression declaration(QStringLiteral(R"((^|\n)\s*[a-z-]+\s*:[^\n;]*%1[^\n]*;)")
                                                 .arg(QRegularExpression::escape(placeholder)));
        EXPECT_TRUE(declaration.match(css).hasMatch()) << placeholder;
    }
}

TEST(StyleSheet, DeclaresTheFontFaceAndPageBackground) {
    const QString css = styleSheet();
    EXPECT_TRUE(QRegularExpression(R"(@font-face\s*\{[^}]*font-family:\s*"segoeui"[^}]*)"
                                   R"(url\("\.\./fonts/segoeui/SEGOEUI\.TTF"\))")
                    .match(css)
                    .hasMatch());
    EXPECT_TRUE(QRegularExpression(R"(body\s*\{[^}]*font-family:\s*"segoeui")").match(css).hasMatch());
    EXPECT_TRUE(QRegularExpression(R"(body\s*\{[^}]*background(-color)?:\s*#f3f3f3)").match(css).hasMatch());
}

// Rules the page layouts depend on: the overlay starts hidden and the body clears the fixed header.
TEST(StyleSheet, StylesTheElementsThePagesBuildOn) {
    const QString css = styleSheet();
    const std::pair<const char *, const char *> rules[] = {
        {"#overlay", "display: none"},
        {".section-wrapper", "margin-top"},
        {".search-area", "display: flex"},
        {".login-inner", "right: 0"},
        {".list-item", "background-color"},
        {".img-books", "height"},
        {".image-wrapper", "../img/book_shadow.png"},
        {"select", "../img/select.png"},
        {".login-register-wrapper", "background-color"},
        {".detail-book-wrapper", "padding"},
        {".kategori-wrapper", "padding"},
        {".category-box h3", "font-size"},
        {".title-section", "font-size"},
        {".list-chart-row img", "max-height"},
    };
    for (const auto &[selector, declaration] : rules) {
        const QRegularExpression rule(
            QStringLiteral(R"((^|\n|,)\s*%1\s*(,[^{]*)?\{[^}]*%2)")
                .arg(QRegularExpression::escape(selector), QRegularExpression::escape(declaration)));
        EXPECT_TRUE(rule.match(css).hasMatch()) << selector << " { " << declaration << " }";
    }
}

} // namespace
