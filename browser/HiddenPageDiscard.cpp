#include "browser/HiddenPageDiscard.h"
#include "browser/ChromiumView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWebEnginePage>

#include <malloc.h>

namespace {

// What a member can set in a page without the client: where it is scrolled to, the form fields, the
// carousels' positions and the search filter's label (its value is a field).
const QString saveStateScript = QStringLiteral(R"((function () {
  var fields = Array.prototype.map.call(document.querySelectorAll('input, select, textarea'), function (e) {
    return e.type === 'checkbox' || e.type === 'radio' ? e.checked : e.value;
  });
  var slides = window.jQuery && jQuery.fn.slick
    ? jQuery('.slick-initialized').map(function () { return jQuery(this).slick('slickCurrentSlide'); }).get() : [];
  var concept = document.getElementById('search_concept');
  return JSON.stringify({x: window.scrollX, y: window.scrollY, fields: fields, slides: slides,
                         concept: concept ? concept.textContent : null});
})())");

// Puts back what saveStateScript read; a select2 box only redraws, so the page's own change handler
// does not ask the client for anything.
QString restoreStateScript(const QString &state) {
    return QStringLiteral(R"((function (s) {
  var list = document.querySelectorAll('input, select, textarea');
  s.fields.forEach(function (value, i) {
    var e = list[i];
    if (!e || e.type === 'file') return;
    if (e.type === 'checkbox' || e.type === 'radio') e.checked = value; else e.value = value;
  });
  if (window.jQuery) {
    jQuery('select').trigger('change.select2');
    if (jQuery.fn.slick)
      jQuery('.slick-initialized').each(function (i) {
        if (i < s.slides.length) jQuery(this).slick('slickGoTo', s.slides[i], true);
      });
  }
  var concept = document.getElementById('search_concept');
  if (concept && s.concept !== null) concept.textContent = s.concept;
  window.scrollTo(s.x, s.y);
})()") + state +
           QStringLiteral(")");
}

// A discarded page's frames go back to the heap in large blocks the allocator keeps for reuse; once
// the engine has let go of them, they are handed back to the system. One pass serves many discards.
void returnFreedMemorySoon() {
    static bool pending = false;
    if (std::exchange(pending, true))
        return;
    QTimer::singleShot(std::chrono::seconds(1), QCoreApplication::instance(), [] {
        pending = false;
        malloc_trim(0);
    });
}

} // namespace

HiddenPageDiscard::HiddenPageDiscard(ChromiumView &view, std::chrono::milliseconds delay)
    : QObject(&view), view(view), page(view.page()) {
    timer.setSingleShot(true);
    timer.setInterval(delay);
    connect(&timer, &QTimer::timeout, this, &HiddenPageDiscard::discardIfStillHidden);
    connect(&view, &QWebEngineView::loadStarted, this, [this] { ++changes; });
    connect(&view, &QWebEngineView::loadFinished, this, &HiddenPageDiscard::loadFinished);
    connect(&view, &ChromiumView::navigationRequested, this, [this] {
        ++changes;
        left.reset(); // the client shows something else: what was left does not apply to it
    });
    view.installEventFilter(this);
}

bool HiddenPageDiscard::eventFilter(QObject *watched, QEvent *event) {
    if (watched == &view) {
        if (event->type() == QEvent::Hide && !left)
            timer.start();
        else if (event->type() == QEvent::Show)
            showAgain();
    }
    return QObject::eventFilter(watched, event);
}

void HiddenPageDiscard::showAgain() {
    timer.stop();
    if (page && page->lifecycleState() != QWebEnginePage::LifecycleState::Active)
        page->setLifecycleState(QWebEnginePage::LifecycleState::Active); // a discarded page loads again
}

// The view in front of its own stack, hidden with its whole area (the reader in front), stays: the
// member comes back to the library exactly as it was left. A page still loading is looked at again
// when its load ends.
bool HiddenPageDiscard::mayDiscard() const {
    return page && !view.isVisible() && !view.isVisibleTo(view.parentWidget()) && !page->isLoading() &&
           !left && page->lifecycleState() == QWebEnginePage::LifecycleState::Active &&
           !page->url().isEmpty();
}

void HiddenPageDiscard::discardIfStillHidden() {
    if (!mayDiscard())
        return;
    const quint64 changesAtSave = changes;
    const QPointer<HiddenPageDiscard> self(this);
    page->runJavaScript(saveStateScript, [self, changesAtSave](const QVariant &state) {
        if (!self || self->changes != changesAtSave || !self->mayDiscard())
            return;
        self->left = LeftPage{self->page->url(), state.toString()};
        self->page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
        returnFreedMemorySoon();
    });
}

void HiddenPageDiscard::loadFinished(bool ok) {
    if (left && page && page->url() == left->url) {
        if (ok)
            restore();
        left.reset();
    } else if (!view.isVisible()) {
        timer.start(); // loaded while hidden
    }
}

void HiddenPageDiscard::restore() {
    view.runScriptsAgain();
    if (!left->state.isEmpty())
        page->runJavaScript(restoreStateScript(left->state));
    const QPointer<HiddenPageDiscard> self(this);
    // Scripts of one page run in the order they were sent: this answer comes after all of them.
    page->runJavaScript(QStringLiteral("0"), [self](const QVariant &) {
        if (self)
            emit self->restored();
    });
}
