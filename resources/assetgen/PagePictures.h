#pragma once

#include <QColor>
#include <QImage>

// Pictures of the catalogue pages, drawn instead of shipped: placeholders shown while covers and
// banners load, the default user picture, the stylesheet's book shadow and select arrow, and the
// sample covers, banners, avatar and header logo the archive carries.

QImage drawCoverPlaceholder();  // img/loading.jpg, 200 x 300
QImage drawBannerPlaceholder(); // img/loading-banner.jpg, 1140 x 350
QImage drawUserIcon();          // img/user.png, 40 x 40 with alpha
QImage drawBookShadow();        // img/book_shadow.png, 220 x 24 with alpha
QImage drawSelectArrow();       // img/select.png, 24 x 24 with alpha
QImage drawDefaultAvatar();     // img/default_avatar_male.jpg, 200 x 200
QImage drawHeaderLogo();        // img/logo-header.png, 180 x 50 with alpha

// A sample book cover, 200 x 300, in the given colours; `motif` picks one of a few patterns.
QImage drawSampleCover(const QColor &base, const QColor &accent, int motif);
// A sample banner, 1140 x 350, a diagonal gradient between the two colours with soft circles.
QImage drawSampleBanner(const QColor &from, const QColor &to);
