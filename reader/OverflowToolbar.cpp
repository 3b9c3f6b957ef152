#include "reader/OverflowToolbar.h"

#include "reader/GlyphButton.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

#include <algorithm>

namespace {
int hintedWidth(QWidget *widget) {
    return QWidgetItem(widget).sizeHint().width();
}
} // namespace

OverflowToolbar::OverflowToolbar(QWidget *parent) : QWidget(parent) {
    row = new QHBoxLayout(this);
    more = glyphButton(this, 0xF141, QStringLiteral("Lainnya")); // the ellipsis
    more->setPopupMode(QToolButton::InstantPopup);
    more->hide();
    row->addWidget(more);

    menu = new QMenu(this);
    menuPanel = new QWidget;
    // The menu is a window of its own and would show the groups in its own font.
    menuPanel->setFont(font());
    menuColumn = new QVBoxLayout(menuPanel);
    menuColumn->setContentsMargins(4, 2, 4, 2);
    menuPanelAction = new QWidgetAction(menu);
    menuPanelAction->setDefaultWidget(menuPanel);
    menu->addAction(menuPanelAction);
    more->setMenu(menu);
}

void OverflowToolbar::addWidget(QWidget *widget) {
    rowOrder.push_back(widget);
    row->insertWidget(row->indexOf(more), widget);
}

void OverflowToolbar::addStretch() {
    rowOrder.push_back(nullptr);
    row->insertStretch(row->indexOf(more));
}

void OverflowToolbar::setLeavingOrder(std::vector<QWidget *> groups) {
    leavingOrder = std::move(groups);
    for (QWidget *group : leavingOrder)
        closeMenuOnUse(group);
}

void OverflowToolbar::closeMenuOnUse(QWidget *group) {
    for (auto *button : group->findChildren<QAbstractButton *>())
        connect(button, &QAbstractButton::clicked, menu, &QWidget::hide);
    for (auto *list : group->findChildren<QComboBox *>())
        connect(list, &QComboBox::activated, menu, &QWidget::hide);
    for (auto *box : group->findChildren<QLineEdit *>())
        connect(box, &QLineEdit::returnPressed, menu, &QWidget::hide);
}

bool OverflowToolbar::isOut(const QWidget *widget, std::size_t leaving) const {
    const auto last = leavingOrder.begin() + static_cast<std::ptrdiff_t>(leaving);
    return std::find(leavingOrder.begin(), last, widget) != last;
}

int OverflowToolbar::rowWidth(std::size_t leaving) const {
    const QMargins margins = row->contentsMargins();
    int width = margins.left() + margins.right();
    int shown = 0;
    auto add = [&](QWidget *widget) {
        width += hintedWidth(widget);
        ++shown;
    };
    for (QWidget *widget : rowOrder)
        if (widget && !widget->isHidden() && !isOut(widget, leaving))
            add(widget);
    if (leaving > 0)
        add(more);
    return width + std::max(row->spacing(), 0) * std::max(shown - 1, 0);
}

QSize OverflowToolbar::minimumSizeHint() const {
    return {rowWidth(leavingOrder.size()), QWidget::minimumSizeHint().height()};
}

void OverflowToolbar::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    std::size_t leaving = 0;
    while (leaving < leavingOrder.size() && rowWidth(leaving) > event->size().width())
        ++leaving;
    if (leaving == groupsOut)
        return;
    arrange(leaving);
    row->activate();
}

void OverflowToolbar::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        menuPanel->setFont(font());
}

void OverflowToolbar::arrange(std::size_t leaving) {
    groupsOut = leaving;
    while (QLayoutItem *item = row->takeAt(0))
        delete item; // a widget's item only; the widget stays
    while (QLayoutItem *item = menuColumn->takeAt(0))
        delete item;
    for (QWidget *widget : rowOrder) {
        if (!widget)
            row->addStretch();
        else if (isOut(widget, leaving))
            menuColumn->addWidget(widget);
        else
            row->addWidget(widget);
    }
    row->addWidget(more);
    more->setVisible(leaving > 0);
    // A moved group was hidden by taking a new parent.
    for (QWidget *group : leavingOrder)
        group->show();
    // The menu measures its entries when they are added.
    menu->removeAction(menuPanelAction);
    menu->addAction(menuPanelAction);
}
