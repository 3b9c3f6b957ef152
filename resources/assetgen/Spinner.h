#pragma once

#include <QImage>
#include <QList>

// Frames of the waiting spinner "img/loading.gif": twelve dots around a circle, the brightest one
// moving on by one dot per frame. Indexed images sharing one colour table whose entry 0 is transparent.
QList<QImage> drawSpinnerFrames(int size);
