#pragma once
// The page-to-device matrix for a device rectangle and a rotation, in single precision as the engine
// keeps it, and the conversions of points through it.

struct PageMatrix {
    float a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    // This transform followed by `then`.
    PageMatrix followedBy(const PageMatrix &then) const;
    PageMatrix inverse() const;
    void apply(float x, float y, float &outX, float &outY) const;
};

// Maps page space (points, origin lower left, y up; width by height after the page's own rotation) onto
// the device rectangle, turned clockwise by rotate quarter turns. A page without area gives the identity.
PageMatrix displayMatrix(float pageWidth, float pageHeight, int left, int top, int right, int bottom,
                         int rotate);
