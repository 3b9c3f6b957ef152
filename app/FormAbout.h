#pragma once
#include <QLabel>

// The about window: a borderless, screen-centred picture that hides itself when clicked.
class TFormAbout : public QLabel {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};
