#pragma once
#include <QWidget>

#include <vector>

class QHBoxLayout;
class QMenu;
class QToolButton;
class QVBoxLayout;
class QWidgetAction;

// A toolbar row that fits any width: the groups that do not fit leave the row, the least needed first,
// for the menu of its "more" button at the right end, and come back when the row is wide enough again.
// A group moves whole, so each of its controls stays the same widget, with its hint and its handlers;
// using a control in the menu closes the menu, as choosing a menu item does.
class OverflowToolbar : public QWidget {
    Q_OBJECT
public:
    explicit OverflowToolbar(QWidget *parent = nullptr);

    // Adds a widget at the end of the row.
    void addWidget(QWidget *widget);
    // Adds a stretch at the end of the row: what follows keeps to the right edge.
    void addStretch();
    // The groups of the row that may leave it, in the order they leave; the others always stay.
    void setLeavingOrder(std::vector<QWidget *> groups);

    QToolButton *moreButton() const { return more; }
    // Wide enough for the widgets that always stay and the "more" button.
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The row's width with the first `leaving` groups of the leaving order in the menu.
    int rowWidth(std::size_t leaving) const;
    bool isOut(const QWidget *widget, std::size_t leaving) const;
    // Puts the first `leaving` groups into the menu and the others into the row, each in row order.
    void arrange(std::size_t leaving);
    void closeMenuOnUse(QWidget *group);

    QHBoxLayout *row;
    // The widgets of the row in order; an empty entry stands for a stretch.
    std::vector<QWidget *> rowOrder;
    std::vector<QWidget *> leavingOrder;
    std::size_t groupsOut = 0;
    QToolButton *more;
    QMenu *menu;
    QWidget *menuPanel;
    QVBoxLayout *menuColumn;
    QWidgetAction *menuPanelAction;
};
