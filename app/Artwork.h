#pragma once
#include <QPixmap>

// The pictures of the splash and the about window, drawn rather than shipped.
QPixmap splashPicture(int size);
QPixmap aboutPicture(int size);
