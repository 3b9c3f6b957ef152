#pragma once
#include <QLabel>
#include <QTimer>

// A one-line notice at the foot of a widget that goes away by itself after two seconds. It takes no
// focus and no pointer input, so reading and drawing on the widget go on underneath.
class ShortNotice : public QLabel {
public:
    // Shows `text` over `target`, reusing the notice already there (its two seconds start again). The
    // notice lives beside `target` in its parent, so scrolling `target`'s pixels never carries it along.
    static ShortNotice *showOver(QWidget &target, const QString &text);

    static constexpr int ShownMs = 2000;

private:
    explicit ShortNotice(QWidget &host);
    void place(const QWidget &target);
    QTimer hideTimer{this};
};
