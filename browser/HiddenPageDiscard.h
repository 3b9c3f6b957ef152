#pragma once
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <optional>

class ChromiumView;
class QWebEnginePage;

// Gives up the page of a view that stays hidden for `delay`: its document, its share of the renderer
// and the frames drawn for it. When the view is shown again the engine loads the page again from its
// file; then the client's scripts run again and what the member had set is put back: the scroll
// position, form fields (a chosen category, a typed search), carousel positions and the search
// filter's label. A page still loading, or one the client navigates meanwhile, is left alone, and so
// is the view in front of its stack while the whole stack is hidden.
class HiddenPageDiscard : public QObject {
    Q_OBJECT
public:
    HiddenPageDiscard(ChromiumView &view, std::chrono::milliseconds delay);

signals:
    // A discarded page is back as the member left it.
    void restored();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showAgain();
    bool mayDiscard() const;
    void discardIfStillHidden();
    void loadFinished(bool ok);
    void restore();

    // What the page looked like when it was given up.
    struct LeftPage {
        QUrl url;
        QString state; // JSON made by the page-state script
    };

    ChromiumView &view;
    QPointer<QWebEnginePage> page;
    QTimer timer;
    quint64 changes = 0; // counts loads and navigations, so a late state reading is recognised
    std::optional<LeftPage> left;
};
