#include "annotation_tools/ShortNotice.h"

#include <algorithm>

ShortNotice::ShortNotice(QWidget &host) : QLabel(&host) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(QStringLiteral(
        "background-color: rgba(40, 40, 40, 210); color: white; border-radius: 6px; padding: 6px 14px;"));
    hideTimer.setSingleShot(true);
    hideTimer.setInterval(ShownMs);
    connect(&hideTimer, &QTimer::timeout, this, &QWidget::hide);
}

ShortNotice *ShortNotice::showOver(QWidget &target, const QString &text) {
    QWidget &host = target.parentWidget() ? *target.parentWidget() : target;
    auto *notice = host.findChild<ShortNotice *>(QString(), Qt::FindDirectChildrenOnly);
    if (!notice)
        notice = new ShortNotice(host);
    notice->setText(text);
    notice->place(target);
    notice->show();
    notice->raise();
    notice->hideTimer.start();
    return notice;
}

// Centred near the target's bottom edge.
void ShortNotice::place(const QWidget &target) {
    adjustSize();
    const QRect area = &target == parentWidget() ? target.rect() : target.geometry();
    move(area.center().x() - width() / 2, std::max(area.top(), area.bottom() - height() - 24));
}
