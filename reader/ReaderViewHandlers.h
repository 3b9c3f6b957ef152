#pragma once

class TPdfControl;

// What a new book view gets beyond the reader's own page-change and idle handling: the annotation
// tools' pointer, key and paint handlers. The paint handler is attached last, once the page's
// documents exist.
class ReaderViewHandlers {
public:
    virtual ~ReaderViewHandlers() = default;
    virtual void attachInput(TPdfControl &view) = 0;
    virtual void attachPaint(TPdfControl &view) = 0;
};
