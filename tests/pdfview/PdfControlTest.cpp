#include "pdfview/PdfControl.h"
#include "prompts/MessageBoxes.h"
#include "tests/pdfview/PdfFixture.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace {

const QColor Gray(128, 128, 128);
const QColor White(255, 255, 255);

// Letter pages with two lines of text each; the second page's text differs.
std::vector<FixturePage> textPages() {
    return {
        FixturePage{612,
                    792,
                    {FixtureText{72, 100, QStringLiteral("Hello world of books"), 24},
                     FixtureText{72, 160, QStringLiteral("second line here"), 24},
                     FixtureText{72, 700, QStringLiteral("see https://example.org/read now"), 14}}},
        FixturePage{612, 792, {FixtureText{72, 100, QStringLiteral("another world page"), 24}}},
        FixturePage{612, 792, {FixtureText{72, 100, QStringLiteral("nothing to find"), 24}}},
    };
}

// Qt's PDF writer maps its space glyph to U+0009, so the fixtures' words are separated by tabs.
QString spaced(QString text) {
    return text.replace(QChar('\t'), QChar(' '));
}

bool sameColor(QColor a, QColor b, int tolerance = 2) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The blend of `mark` at constant opacity 127/255 over `under`.
QColor blended(QColor mark, QColor under) {
    const double a = 127.0 / 255.0;
    return QColor(std::lround(mark.red() * a + under.red() * (1 - a)),
                  std::lround(mark.green() * a + under.green() * (1 - a)),
                  std::lround(mark.blue() * a + under.blue() * (1 - a)));
}

class PdfControlTest : public ::testing::Test {
protected:
    QWidget parent;
    TPdfControl *control = new TPdfControl(&parent);
    int pageChanges = 0;
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};

    void SetUp() override {
        control->OnPageChange = [this](TPdfControl *) { ++pageChanges; };
        parent.resize(1000, 1200);
        control->resize(1000, 1200);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
        ASSERT_EQ(control->logicalDpiX(), 96);
        ASSERT_EQ(control->logicalDpiY(), 96);
    }

    void load(const QByteArray &pdf) {
        QBuffer buffer;
        buffer.setData(pdf);
        buffer.open(QIODevice::ReadOnly);
        control->LoadFromStream(&buffer);
    }

    int barExtent() const {
        return control->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, control);
    }

    QImage shot() { return control->grab().toImage(); }

    QPoint centreOfChar(int index) const {
        return control->PageToDevice(control->GetCurrentPage()->GetCharBox(index)).normalized().center();
    }
    // Just outside the left edge of a character's box, on its vertical centre.
    QPoint leftOfChar(int index) const {
        const QRect box = control->PageToDevice(control->GetCurrentPage()->GetCharBox(index)).normalized();
        return QPoint(box.left() - 3, box.center().y());
    }
    int indexOf(const QString &text) const {
        TPdfPage *page = control->GetCurrentPage();
        return spaced(page->ReadText(0, page->GetCharCount())).indexOf(text);
    }

    void sendMouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(pos), QPointF(control->mapToGlobal(pos)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(control, &event);
    }
    void press(QPoint pos) { sendMouse(QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton); }
    void drag(QPoint pos) { sendMouse(QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton); }
    void hover(QPoint pos) { sendMouse(QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton); }
    void release(QPoint pos) { sendMouse(QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton); }
    void doubleClick(QPoint pos) {
        press(pos);
        release(pos);
        sendMouse(QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
        release(pos);
    }

    bool wheel(int delta, Qt::KeyboardModifiers mods = Qt::NoModifier, bool tilted = false) {
        const QPoint pos(50, 50);
        const QPoint angle = tilted ? QPoint(delta, 0) : QPoint(0, delta);
        QWheelEvent event(QPointF(pos), QPointF(control->mapToGlobal(pos)), QPoint(), angle, Qt::NoButton,
                          mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(control, &event);
        return event.isAccepted();
    }
};

} // namespace

TEST_F(PdfControlTest, StartsWithItsDocumentedSettings) {
    TPdfControl fresh;
    EXPECT_EQ(fresh.size(), QSize(130, 180));
    EXPECT_EQ(fresh.ScaleMode(), TPdfControlScaleMode::smFitAuto);
    EXPECT_EQ(fresh.ZoomPercentage(), 100);
    EXPECT_EQ(fresh.PageColor(), clWhite);
    EXPECT_EQ(fresh.Color(), rgbToColor(128, 128, 128));
    EXPECT_EQ(fresh.Rotation(), prNormal);
    EXPECT_TRUE(fresh.AllowUserTextSelection());
    EXPECT_TRUE(fresh.AllowUserPageChange());
    EXPECT_TRUE(fresh.BufferedPageDraw());
    EXPECT_TRUE(fresh.ScrollTimer());
    EXPECT_FALSE(fresh.SmoothScroll());
    EXPECT_FALSE(fresh.AutoPageChange());
    EXPECT_EQ(fresh.DrawOptions(), TPdfPageRenderOptions());
    EXPECT_EQ(fresh.focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    EXPECT_FALSE(fresh.IsPageValid());
    EXPECT_EQ(fresh.GetCurrentPage(), nullptr);
}

TEST_F(PdfControlTest, EmptyLoadPaintsOnlyTheColourAndFiresPageChangeOnce) {
    load(QByteArray());
    EXPECT_EQ(pageChanges, 1);
    EXPECT_FALSE(control->IsPageValid());
    EXPECT_EQ(control->GetPageCount(), 0);
    const QImage image = shot();
    for (QPoint p : {QPoint(0, 0), QPoint(500, 600), QPoint(999, 1199), QPoint(300, 100)})
        EXPECT_EQ(image.pixelColor(p), Gray) << p.x() << "," << p.y();
    EXPECT_EQ(control->DeviceToPage(10, 10), TPdfPoint{});
    EXPECT_EQ(control->PageToDevice(10, 10), QPoint());
}

TEST_F(PdfControlTest, FailedLoadStillShowsNoPageAndReportsTheError) {
    load(makeNumberedPdf(2));
    pageChanges = 0;
    QBuffer buffer;
    buffer.setData("%PDF-1.4 this is not a real document");
    buffer.open(QIODevice::ReadOnly);
    EXPECT_THROW(control->LoadFromStream(&buffer), EPdfException);
    EXPECT_EQ(pageChanges, 1);
    EXPECT_FALSE(control->IsPageValid());
    EXPECT_FALSE(control->HorzScrollBarShown() || control->VertScrollBarShown());
    EXPECT_EQ(shot().pixelColor(500, 600), Gray);
}

TEST_F(PdfControlTest, LayoutPerScaleModeCentresThePage) {
    load(makeNumberedPdf(1));
    const int bar = barExtent();
    struct {
        TPdfControlScaleMode mode;
        int zoom;
        QSize size;
        QRect page;
        bool hBar, vBar;
    } cases[] = {
        {TPdfControlScaleMode::smZoom, 100, QSize(1000, 1200), QRect(92, 72, 816, 1056), false, false},
        {TPdfControlScaleMode::smFitAuto, 100, QSize(1000, 1200), QRect(36, 0, 927, 1200), false, false},
        {TPdfControlScaleMode::smFitAuto, 100, QSize(400, 900), QRect(0, 191, 400, 518), false, false},
        {TPdfControlScaleMode::smFitWidth, 100, QSize(1000, 600), QRect(0, 0, 1000 - bar, 0), false, true},
        {TPdfControlScaleMode::smFitHeight, 100, QSize(300, 600), QRect(0, 0, 0, 600 - bar), true, false},
        {TPdfControlScaleMode::smZoom, 200, QSize(1000, 1200), QRect(0, 0, 1632, 2112), true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.mode) * 1000 + c.size.width());
        control->resize(c.size);
        control->SetZoomPercentage(c.zoom);
        control->SetScaleMode(c.mode);
        QRect expected = c.page;
        if (c.mode == TPdfControlScaleMode::smFitWidth)
            expected.setHeight(static_cast<int>(std::nearbyint((1000 - bar) * 792.0 / 612.0)));
        if (c.mode == TPdfControlScaleMode::smFitHeight)
            expected.setWidth(static_cast<int>(std::nearbyint((600 - bar) * 612.0 / 792.0)));
        EXPECT_EQ(control->GetPageRect(), expected);
        EXPECT_EQ(control->HorzScrollBarShown(), c.hBar);
        EXPECT_EQ(control->VertScrollBarShown(), c.vBar);
        EXPECT_EQ(control->HorzScrollBar()->isVisible(), c.hBar);
        EXPECT_EQ(control->VertScrollBar()->isVisible(), c.vBar);
        if (c.vBar) {
            EXPECT_EQ(control->VertScrollBar()->pageStep(), c.size.height() - (c.hBar ? bar : 0));
            EXPECT_EQ(control->VertScrollBar()->maximum(),
                      expected.height() - control->VertScrollBar()->pageStep());
        }
    }
}

TEST_F(PdfControlTest, MarginsTakeTheControlColourAndThePageItsColour) {
    load(makeNumberedPdf(1));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    QImage image = shot();
    EXPECT_EQ(image.pixelColor(10, 600), Gray);   // left margin (page starts at x 92)
    EXPECT_EQ(image.pixelColor(990, 600), Gray);  // right margin
    EXPECT_EQ(image.pixelColor(500, 10), Gray);   // top margin (page starts at y 72)
    EXPECT_EQ(image.pixelColor(500, 1190), Gray); // bottom margin
    EXPECT_EQ(image.pixelColor(500, 600), White); // blank page area

    control->SetPageColor(rgbToColor(10, 20, 200));
    control->SetColor(rgbToColor(0, 100, 0));
    image = shot();
    EXPECT_EQ(image.pixelColor(500, 600), QColor(10, 20, 200));
    EXPECT_EQ(image.pixelColor(10, 600), QColor(0, 100, 0));

    control->SetPageColor(clDefault); // the page takes the control's colour
    EXPECT_EQ(shot().pixelColor(500, 600), QColor(0, 100, 0));
}

TEST_F(PdfControlTest, PageIndexIsClampedAndTheSameIndexFiresNothing) {
    load(makeNumberedPdf(3));
    pageChanges = 0;
    struct {
        int requested, shown, events;
    } cases[] = {{3, 2, 1}, {100, 2, 0}, {-5, 0, 1}, {0, 0, 0}, {1, 1, 1}, {1, 1, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.requested);
        pageChanges = 0;
        control->SetPageIndex(c.requested);
        EXPECT_EQ(control->PageIndex(), c.shown);
        EXPECT_EQ(pageChanges, c.events);
    }
    control->SetPageIndex(2);
    pageChanges = 0;
    EXPECT_FALSE(control->GotoNextPage());
    control->SetPageIndex(0);
    pageChanges = 0;
    EXPECT_FALSE(control->GotoPrevPage());
    EXPECT_EQ(pageChanges, 0);
    EXPECT_TRUE(control->GotoNextPage());
    EXPECT_EQ(control->PageIndex(), 1);
    EXPECT_EQ(pageChanges, 1);
}

TEST_F(PdfControlTest, ZoomIsClampedAndRedrawnAtTheNewSize) {
    load(makeNumberedPdf(1));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    struct {
        int requested, kept;
    } cases[] = {{0, 1}, {-40, 1}, {20000, 10000}, {10000, 10000}, {50, 50}};
    for (const auto &c : cases) {
        control->SetZoomPercentage(c.requested);
        EXPECT_EQ(control->ZoomPercentage(), c.kept) << c.requested;
    }
    EXPECT_EQ(control->GetPageRect().size(), QSize(408, 528));
}

TEST_F(PdfControlTest, RotationSwapsTheDrawnSides) {
    load(makeNumberedPdf(1));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    control->SetRotation(pr90Clockwise);
    EXPECT_EQ(control->GetPageRect().size(), QSize(1056, 816));
    control->SetRotation(pr180);
    EXPECT_EQ(control->GetPageRect().size(), QSize(816, 1056));
}

TEST_F(PdfControlTest, CloseShowsNoPageWithoutAnEvent) {
    load(makeNumberedPdf(2));
    pageChanges = 0;
    control->Close();
    EXPECT_EQ(pageChanges, 0);
    EXPECT_FALSE(control->IsPageValid());
    EXPECT_EQ(shot().pixelColor(500, 600), Gray);
}

TEST_F(PdfControlTest, WheelTurnsPagesAtTheEdgesOnlyWithAutoPageChange) {
    load(makeNumberedPdf(3));
    control->resize(900, 600);
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    ASSERT_TRUE(control->VertScrollBarShown());
    QScrollBar *bar = control->VertScrollBar();

    EXPECT_TRUE(wheel(-120));
    EXPECT_EQ(control->VertScrollPosition(), 120);
    for (int i = 0; i < 20; ++i)
        wheel(-120);
    EXPECT_EQ(control->VertScrollPosition(), bar->maximum());
    EXPECT_EQ(control->PageIndex(), 0) << "no page change without AutoPageChange";

    control->SetAutoPageChange(true);
    pageChanges = 0;
    wheel(-120);
    EXPECT_EQ(control->PageIndex(), 1);
    EXPECT_EQ(control->VertScrollPosition(), 0) << "the next page starts at its top";
    EXPECT_EQ(pageChanges, 1);

    wheel(120);
    EXPECT_EQ(control->PageIndex(), 0);
    EXPECT_EQ(control->VertScrollPosition(), 0) << "the previous page also starts at its top";

    // A page that fits has no vertical bar, and the wheel never turns it.
    control->SetScaleMode(TPdfControlScaleMode::smFitAuto);
    ASSERT_FALSE(control->VertScrollBarShown());
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(control->PageIndex(), 0);
}

TEST_F(PdfControlTest, ShiftWheelScrollsSidewaysAndCtrlWheelZoomsOnlyInZoomMode) {
    load(makeNumberedPdf(1));
    control->resize(600, 600);
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    ASSERT_TRUE(control->HorzScrollBarShown());
    wheel(-120, Qt::ShiftModifier);
    EXPECT_EQ(control->HorzScrollPosition(), 120);
    EXPECT_EQ(control->GetPageRect().left(), -120);
    EXPECT_EQ(control->VertScrollPosition(), 0);
    wheel(-120, Qt::NoModifier, true);
    EXPECT_EQ(control->HorzScrollPosition(), std::min(240, control->HorzScrollBar()->maximum()))
        << "a tilted wheel scrolls sideways";
    EXPECT_EQ(control->VertScrollPosition(), 0);

    EXPECT_TRUE(wheel(240, Qt::ControlModifier));
    EXPECT_EQ(control->ZoomPercentage(), 110);
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(control->ZoomPercentage(), 105);

    control->SetScaleMode(TPdfControlScaleMode::smFitWidth);
    EXPECT_FALSE(wheel(120, Qt::ControlModifier));
    EXPECT_EQ(control->ZoomPercentage(), 105);
}

TEST_F(PdfControlTest, KeysScrollAndTurnPages) {
    load(makeNumberedPdf(4));
    control->resize(900, 400);
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    control->setFocus();
    QScrollBar *bar = control->VertScrollBar();
    const int bottom = bar->maximum();

    QTest::keyClick(control, Qt::Key_Down);
    EXPECT_EQ(control->VertScrollPosition(), 25);
    QTest::keyClick(control, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(control->VertScrollPosition(), 75);
    QTest::keyClick(control, Qt::Key_Up);
    EXPECT_EQ(control->VertScrollPosition(), 50);
    QTest::keyClick(control, Qt::Key_End);
    EXPECT_EQ(control->VertScrollPosition(), bottom);
    QTest::keyClick(control, Qt::Key_Home);
    EXPECT_EQ(control->VertScrollPosition(), 0);

    QTest::keyClick(control, Qt::Key_PageDown);
    ASSERT_LT(bar->pageStep(), bottom);
    EXPECT_EQ(control->VertScrollPosition(), bar->pageStep()) << "scrolls one bar page first";
    EXPECT_EQ(control->PageIndex(), 0);
    QTest::keyClick(control, Qt::Key_End);
    QTest::keyClick(control, Qt::Key_PageDown);
    EXPECT_EQ(control->PageIndex(), 1) << "at the bottom Page Down turns";
    EXPECT_EQ(control->VertScrollPosition(), 0);
    QTest::keyClick(control, Qt::Key_PageUp);
    EXPECT_EQ(control->PageIndex(), 0) << "at the top Page Up turns back";
    EXPECT_EQ(control->VertScrollPosition(), bottom) << "and shows the previous page's end";

    QTest::keyClick(control, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(control->PageIndex(), 3);
    EXPECT_EQ(control->VertScrollPosition(), bottom);
    QTest::keyClick(control, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(control->PageIndex(), 0);
    EXPECT_EQ(control->VertScrollPosition(), 0);

    control->SetAllowUserPageChange(false);
    QTest::keyClick(control, Qt::Key_End);
    QTest::keyClick(control, Qt::Key_PageDown);
    EXPECT_EQ(control->PageIndex(), 0);

    // A page that fits has no bar to scroll first: Page Down turns at once.
    control->SetAllowUserPageChange(true);
    control->SetScaleMode(TPdfControlScaleMode::smFitAuto);
    QTest::keyClick(control, Qt::Key_PageDown);
    EXPECT_EQ(control->PageIndex(), 1);
}

TEST_F(PdfControlTest, HostSeesKeysFirstAndCanSwallowThem) {
    load(makeNumberedPdf(1));
    control->resize(900, 600);
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    int seenAt = -1;
    control->OnKeyDown = [&](TPdfControl *sender, int &key, Qt::KeyboardModifiers) {
        seenAt = sender->VertScrollPosition();
        if (key == Qt::Key_Up)
            key = 0;
    };
    QTest::keyClick(control, Qt::Key_Down);
    EXPECT_EQ(seenAt, 0);
    EXPECT_EQ(control->VertScrollPosition(), 25);
    QTest::keyClick(control, Qt::Key_Up);
    EXPECT_EQ(control->VertScrollPosition(), 25);
}

TEST_F(PdfControlTest, CtrlASelectsAllAndCtrlCIsConsumedWithoutCopying) {
    load(makeFixturePdf(textPages()));
    struct KeyCounter : QObject {
        int keys = 0;
        bool eventFilter(QObject *, QEvent *e) override {
            // QTest presses the modifier keys first; only the key itself counts.
            keys += e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() != Qt::Key_Control;
            return false;
        }
    } parentKeys;
    parent.installEventFilter(&parentKeys);
    QApplication::clipboard()->setText(QStringLiteral("untouched"));

    QTest::keyClick(control, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(parentKeys.keys, 1) << "without a selection Ctrl+C goes on to the parent";

    QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
    const int chars = control->GetCurrentPage()->GetCharCount();
    EXPECT_TRUE(control->SelectionActive());
    EXPECT_EQ(control->GetSelStart(), 0);
    EXPECT_EQ(control->GetSelLength(), chars);

    parentKeys.keys = 0;
    QTest::keyClick(control, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(control, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(parentKeys.keys, 0);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("untouched"));

    control->CopyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), control->GetSelText());
    EXPECT_TRUE(spaced(control->GetSelText()).contains(QStringLiteral("Hello world")));
}

TEST_F(PdfControlTest, DraggingSelectsAndTheHostSeesTheSelectionOfTheLastMove) {
    load(makeFixturePdf(textPages()));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    const int hello = indexOf(QStringLiteral("Hello"));
    const int world = indexOf(QStringLiteral("world"));
    ASSERT_GE(hello, 0);
    QString seenOnMouseUp;
    control->OnMouseUp = [&](TPdfControl *sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        seenOnMouseUp = spaced(sender->GetSelText());
    };

    press(centreOfChar(hello) - QPoint(2, 0));
    EXPECT_FALSE(control->SelectionActive());
    drag(centreOfChar(hello + 4));
    EXPECT_TRUE(control->SelectionActive());
    EXPECT_EQ(spaced(control->GetSelText()), QStringLiteral("Hello"));
    EXPECT_EQ(control->cursor().shape(), Qt::IBeamCursor);
    release(centreOfChar(world + 4));
    EXPECT_EQ(seenOnMouseUp, QStringLiteral("Hello"));
    EXPECT_EQ(spaced(control->GetSelText()), QStringLiteral("Hello world"));
    EXPECT_EQ(control->GetSelStart(), hello);
    EXPECT_EQ(control->GetSelLength(), world + 5 - hello);

    // Dragging backwards selects the same range from the other end.
    press(centreOfChar(world + 4));
    drag(centreOfChar(hello));
    release(centreOfChar(hello));
    EXPECT_EQ(spaced(control->GetSelText()), QStringLiteral("Hello world"));
}

TEST_F(PdfControlTest, SelectionAndHighlightFollowTheRotation) {
    load(makeFixturePdf(textPages()));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    for (TPdfPageRotation rotation : {pr90Clockwise, pr180, pr90CounterClockwide}) {
        SCOPED_TRACE(int(rotation));
        control->SetRotation(rotation);
        const int hello = indexOf(QStringLiteral("Hello"));
        press(centreOfChar(hello));
        drag(centreOfChar(hello + 4));
        release(centreOfChar(hello + 4));
        EXPECT_EQ(spaced(control->GetSelText()), QStringLiteral("Hello"));
        control->HightlightText(QStringLiteral("world"), false, true);
        ASSERT_EQ(control->HighlightRects().size(), 1u);
        EXPECT_TRUE(
            control->HighlightRects().front().contains(centreOfChar(indexOf(QStringLiteral("world")) + 2)));
    }
}

TEST_F(PdfControlTest, ASelectionOfOneCharacterNeedsTheDragToLeaveIt) {
    load(makeFixturePdf(textPages()));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    const int h = indexOf(QStringLiteral("Hello"));
    press(centreOfChar(h));
    drag(centreOfChar(h) + QPoint(1, 0));
    release(centreOfChar(h) + QPoint(1, 0));
    EXPECT_FALSE(control->SelectionActive()) << "press and release inside one character select nothing";

    // Starting beside the character and ending on it selects it.
    press(leftOfChar(h));
    release(centreOfChar(h));
    EXPECT_TRUE(control->SelectionActive());
    EXPECT_EQ(spaced(control->GetSelText()), QStringLiteral("H"));
}

TEST_F(PdfControlTest, DoubleClickSelectsAWordAndATripleClickItsLine) {
    load(makeFixturePdf(textPages()));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    int dblClicks = 0;
    control->OnDblClick = [&](TPdfControl *) { ++dblClicks; };
    const int world = indexOf(QStringLiteral("world"));
    doubleClick(centreOfChar(world + 2));
    EXPECT_EQ(dblClicks, 1);
    EXPECT_EQ(spaced(control->GetSelText()), QStringLiteral("world"));

    press(centreOfChar(world + 1));
    EXPECT_EQ(spaced(control->GetSelText()), QStringLiteral("Hello world of books"));
    release(centreOfChar(world + 1));
    EXPECT_EQ(spaced(control->GetSelText()), QStringLiteral("Hello world of books"))
        << "the line stays after release";

    // Once the double-click time has passed a further click starts afresh.
    doubleClick(centreOfChar(world + 2));
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    press(centreOfChar(world + 1));
    EXPECT_FALSE(control->SelectionActive());
    release(centreOfChar(world + 1));
}

TEST_F(PdfControlTest, SelectionCallsClampAndClear) {
    load(makeFixturePdf(textPages()));
    const int chars = control->GetCurrentPage()->GetCharCount();
    control->SelectText(chars - 3, 100);
    EXPECT_EQ(control->GetSelStart(), chars - 3);
    EXPECT_EQ(control->GetSelLength(), 3);
    control->SelectText(0, -1);
    EXPECT_EQ(control->GetSelLength(), chars);
    control->SelectText(4, 0);
    EXPECT_FALSE(control->SelectionActive());
    EXPECT_EQ(control->GetSelLength(), 0);
    EXPECT_EQ(control->GetSelStart(), 0);
    EXPECT_FALSE(control->SelectWord(chars + 5));
    EXPECT_TRUE(control->SelectWord(indexOf(QStringLiteral("second")) + 2));
    EXPECT_EQ(spaced(control->GetSelText()), QStringLiteral("second"));
    EXPECT_TRUE(control->SelectLine(indexOf(QStringLiteral("second"))));
    EXPECT_EQ(spaced(control->GetSelText()), QStringLiteral("second line here"));
    control->SetPageIndex(1);
    EXPECT_FALSE(control->SelectionActive()) << "a page change clears the selection";
}

TEST_F(PdfControlTest, SelectionIsBlendedAndTheHostPaintsAboveIt) {
    load(makeFixturePdf(textPages()));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    const QImage before = shot();
    const int second = indexOf(QStringLiteral("second"));
    control->SelectText(second, 6);
    const QImage after = shot();
    const QRect box = control->PageToDevice(control->GetCurrentPage()->GetCharBox(second)).normalized();
    int blendedPixels = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (before.pixelColor(x, y) == White) {
                EXPECT_TRUE(sameColor(after.pixelColor(x, y), blended(QColor(50, 142, 254), White)))
                    << x << "," << y << " " << after.pixelColor(x, y).name().toStdString();
                ++blendedPixels;
            }
    EXPECT_GT(blendedPixels, 0);
    EXPECT_EQ(after.pixelColor(500, 600), White) << "outside the selection nothing changes";

    control->OnPaint = [&](TPdfControl *sender) {
        ASSERT_NE(sender->Canvas(), nullptr);
        sender->Canvas()->fillRect(box, Qt::green);
    };
    const QImage marked = shot();
    EXPECT_EQ(marked.pixelColor(box.center()), QColor(Qt::green));
    EXPECT_EQ(control->Canvas(), nullptr);
}

TEST_F(PdfControlTest, HighlightMarksEveryHitAndFollowsPageChanges) {
    load(makeFixturePdf(textPages()));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    const QImage before = shot();
    control->HightlightText(QStringLiteral("WORLD"), false, true);
    ASSERT_EQ(control->HighlightRects().size(), 1u);
    const QRect hit = control->HighlightRects().front();
    const int world = indexOf(QStringLiteral("world"));
    EXPECT_TRUE(hit.contains(centreOfChar(world)));
    EXPECT_TRUE(hit.contains(centreOfChar(world + 4)));
    EXPECT_FALSE(hit.contains(centreOfChar(indexOf(QStringLiteral("Hello")))));

    const QImage after = shot();
    int blendedPixels = 0;
    for (int y = hit.top(); y <= hit.bottom(); ++y)
        for (int x = hit.left(); x <= hit.right(); ++x)
            if (before.pixelColor(x, y) == White) {
                EXPECT_TRUE(sameColor(after.pixelColor(x, y), blended(QColor(254, 142, 50), White)));
                ++blendedPixels;
            }
    EXPECT_GT(blendedPixels, 0);

    control->HightlightText(QStringLiteral("WORLD"), true, false);
    EXPECT_TRUE(control->HighlightRects().empty()) << "match case finds no upper-case hit";

    control->HightlightText(QStringLiteral("world"), false, true);
    control->SetPageIndex(1);
    EXPECT_EQ(control->HighlightRects().size(), 1u) << "the phrase is marked on the next page shown";
    control->SetPageIndex(2);
    EXPECT_TRUE(control->HighlightRects().empty());
    control->SetPageIndex(0);
    control->ClearHighlightText();
    EXPECT_TRUE(control->HighlightRects().empty());
    EXPECT_EQ(shot(), before);
}

TEST_F(PdfControlTest, WebLinkShowsAHandAndOpensOnClick) {
    load(makeFixturePdf(textPages()));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    const QPoint onLink = centreOfChar(indexOf(QStringLiteral("example")) + 2);
    QString url;
    ASSERT_TRUE(control->IsWebLinkAt(onLink.x(), onLink.y(), url));
    EXPECT_EQ(url, QStringLiteral("https://example.org/read"));
    EXPECT_FALSE(control->IsWebLinkAt(centreOfChar(0).x(), centreOfChar(0).y()));

    hover(onLink);
    EXPECT_EQ(control->cursor().shape(), Qt::IBeamCursor) << "no hand while nobody listens for link clicks";
    QStringList clicked;
    control->OnWebLinkClick = [&](TPdfControl *, const QString &u) { clicked << u; };
    hover(onLink);
    EXPECT_EQ(control->cursor().shape(), Qt::PointingHandCursor);
    hover(QPoint(500, 600));
    EXPECT_EQ(control->cursor().shape(), Qt::ArrowCursor);

    press(onLink);
    release(onLink);
    EXPECT_EQ(clicked, QStringList{QStringLiteral("https://example.org/read")});

    // A drag that selects text over the link is a selection, not a click.
    press(onLink);
    drag(onLink + QPoint(60, 0));
    release(onLink + QPoint(60, 0));
    EXPECT_TRUE(control->SelectionActive());
    EXPECT_EQ(clicked.size(), 1);
}

TEST_F(PdfControlTest, HostErrorsInInputEventsAreReportedNotThrownThroughTheEventLoop) {
    load(makeFixturePdf(textPages()));
    std::vector<QString> reported;
    control->OnError = [&](const QString &message) { reported.push_back(message); };
    control->OnMouseUp = [](TPdfControl *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        throw std::runtime_error("cannot store the mark");
    };
    int clicks = 0;
    control->OnClick = [&](TPdfControl *) { ++clicks; };
    press(QPoint(500, 600));
    release(QPoint(500, 600));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(reported, std::vector<QString>{QStringLiteral("cannot store the mark")});
    EXPECT_TRUE(control->IsPageValid());
}

TEST_F(PdfControlTest, WithSelectionOffTheMouseChangesNeitherSelectionNorCursor) {
    load(makeFixturePdf(textPages()));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    control->SetAllowUserTextSelection(false);
    int downs = 0;
    control->OnMouseDown = [&](TPdfControl *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
    const int world = indexOf(QStringLiteral("world"));
    hover(centreOfChar(world));
    EXPECT_FALSE(control->testAttribute(Qt::WA_SetCursor));
    press(centreOfChar(0));
    drag(centreOfChar(world + 4));
    release(centreOfChar(world + 4));
    doubleClick(centreOfChar(world));
    EXPECT_FALSE(control->SelectionActive());
    EXPECT_FALSE(control->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(downs, 3) << "the host still hears every press";
}

TEST_F(PdfControlTest, DraggingBelowTheControlScrollsOnTheTimer) {
    load(makeFixturePdf(textPages()));
    control->resize(900, 600);
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    press(centreOfChar(0));
    drag(QPoint(300, 650));
    QElapsedTimer waited;
    waited.start();
    while (control->VertScrollPosition() < 50 && waited.elapsed() < 5000)
        QTest::qWait(20);
    EXPECT_GE(control->VertScrollPosition(), 50);
    const int position = control->VertScrollPosition();
    EXPECT_TRUE(position % 25 == 0 || position == control->VertScrollBar()->maximum()) << position;
    drag(QPoint(300, 300));
    const int stoppedAt = control->VertScrollPosition();
    QTest::qWait(200);
    EXPECT_EQ(control->VertScrollPosition(), stoppedAt) << "back inside, the timer stops";
    release(QPoint(300, 300));
}

TEST_F(PdfControlTest, ScrollBarButtonsTurnPagesAtTheEdgesWithAutoPageChange) {
    load(makeNumberedPdf(2));
    control->resize(900, 300);
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    control->SetAutoPageChange(true);
    QScrollBar *bar = control->VertScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(control->VertScrollPosition(), 25);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(control->VertScrollPosition(), 25 + bar->pageStep());
    bar->setValue(bar->maximum()); // thumb dragged to the end
    EXPECT_EQ(control->GetPageRect().bottom(), 300 - 1);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(control->PageIndex(), 1);
    EXPECT_EQ(control->VertScrollPosition(), 0);
}

TEST_F(PdfControlTest, DeviceAndPageCoordinatesRoundTrip) {
    load(makeNumberedPdf(1));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    const TPdfPoint topLeft = control->DeviceToPage(92, 72);
    EXPECT_NEAR(topLeft.X, 0, 0.5);
    EXPECT_NEAR(topLeft.Y, 792, 0.5);
    EXPECT_EQ(control->PageToDevice(612, 0), QPoint(92 + 816, 72 + 1056));
    const TPdfRect r = control->DeviceToPage(QRect(192, 172, 96, 48));
    EXPECT_GT(r.Top, r.Bottom);
    EXPECT_EQ(control->PageToDevice(r).normalized(), QRect(192, 172, 96, 48));
    EXPECT_TRUE(spaced(control->GetTextInRect(QRect(92, 72, 816, 200))).contains(QStringLiteral("Page 1")));
}

TEST_F(PdfControlTest, PrefetchedAndDirectDrawingPaintTheSameAsRenderingOnTheSpot) {
    load(makeFixturePdf(textPages()));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    control->SetPrefetchNextPage(false);
    control->SetPageIndex(1);
    const QImage reference = shot();

    control->SetPageIndex(0);
    shot();
    EXPECT_FALSE(control->Document()->GetPage(1)->IsLoaded()) << "the page left behind was released";
    control->SetPrefetchNextPage(true);
    shot();
    QApplication::processEvents();
    control->WaitForPrefetch();
    EXPECT_TRUE(control->Document()->GetPage(1)->IsLoaded()) << "the next page was rendered ahead";
    control->SetPageIndex(1);
    EXPECT_EQ(shot(), reference);
    EXPECT_FALSE(control->Document()->GetPage(0)->IsLoaded());

    control->SetBufferedPageDraw(false);
    EXPECT_EQ(shot(), reference);
}

TEST_F(PdfControlTest, ThePageLeftIsReleasedHoweverItWasDrawn) {
    const struct {
        bool buffered;
        int zoom;
        const char *how;
    } cases[] = {
        {true, 100, "from the kept image"},
        {false, 100, "directly, buffering off"},
        {true, 400, "directly, too large to keep"},
    };
    load(makeFixturePdf(textPages()));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    control->SetPrefetchNextPage(false);
    for (const auto &c : cases) {
        control->SetBufferedPageDraw(c.buffered);
        control->SetZoomPercentage(c.zoom);
        for (const auto &[from, to] : {std::pair{0, 1}, std::pair{1, 0}}) {
            control->SetPageIndex(from);
            shot();
            ASSERT_TRUE(control->Document()->GetPage(from)->IsLoaded()) << c.how;
            control->SetPageIndex(to);
            shot();
            EXPECT_FALSE(control->Document()->GetPage(from)->IsLoaded()) << c.how << ", page " << from;
            EXPECT_TRUE(control->Document()->GetPage(to)->IsLoaded()) << c.how << ", page " << to;
        }
    }
}

TEST_F(PdfControlTest, HugeZoomDrawsOnlyTheVisiblePart) {
    load(makeFixturePdf(textPages()));
    control->SetScaleMode(TPdfControlScaleMode::smZoom);
    control->SetZoomPercentage(10000);
    EXPECT_EQ(control->GetPageRect().width(), 81600);
    control->ScrollContentTo(40000, 40000);
    const QImage image = shot();
    EXPECT_EQ(image.pixelColor(300, 300), White);
}

// A page the engine refuses shows as no page, and the host hears of it once per page, from the event
// loop: not on every visit, paint, selection or geometry call, and not for a page only rendered ahead.
TEST_F(PdfControlTest, ARefusedPageShowsNoPageAndIsToldOnceFromTheEventLoop) {
    const QString refusal = QStringLiteral("Function Digital_Signature not supported");
    using Report = std::pair<int, QString>;
    std::vector<Report> reports;
    std::vector<QString> errors;
    control->OnUnsupportedFeature = [&](TPdfControl *sender, int page, const QString &message) {
        EXPECT_EQ(sender, control);
        reports.emplace_back(page, message);
    };
    control->OnError = [&](const QString &message) { errors.push_back(message); };
    // A host that draws its marks through the view's geometry on every paint.
    control->OnPaint = [](TPdfControl *sender) { sender->PageToDevice(TPdfRect{72, 700, 200, 650}); };
    load(makeSignedPagesPdf(4, {1, 3}));
    shot();
    QApplication::processEvents();
    control->WaitForPrefetch(); // the refused page 2 rendered ahead, silently
    QApplication::processEvents();
    EXPECT_TRUE(reports.empty());

    pageChanges = 0;
    control->SetPageIndex(1);
    EXPECT_TRUE(reports.empty()) << "told from the event loop, not from inside the page change";
    QApplication::processEvents();
    EXPECT_EQ(reports, std::vector<Report>{Report(1, refusal)});
    EXPECT_EQ(pageChanges, 1);
    EXPECT_EQ(control->PageIndex(), 1);
    EXPECT_FALSE(control->IsPageValid());
    EXPECT_EQ(control->GetCurrentPage(), nullptr);
    for (int paint = 0; paint < 3; ++paint)
        EXPECT_EQ(shot().pixelColor(500, 600), Gray);
    control->SelectAll();
    EXPECT_EQ(control->GetSelText(), QString());
    control->CopyToClipboard();
    EXPECT_EQ(control->GetTextInRect(QRect(0, 0, 1000, 1200)), QString());
    EXPECT_EQ(control->DeviceToPage(500, 600), TPdfPoint{});
    control->HightlightText(QStringLiteral("Halaman"), false, true);
    press(QPoint(500, 600));
    drag(QPoint(600, 700));
    release(QPoint(600, 700));

    // Back, and to the refused page again: the page is not asked for, nor told, a second time.
    control->SetPageIndex(0);
    EXPECT_TRUE(control->IsPageValid());
    control->SetPageIndex(1);
    shot();
    QApplication::processEvents();
    EXPECT_EQ(reports.size(), 1u);

    // Another refused page is told on its own.
    EXPECT_TRUE(control->GotoNextPage());
    EXPECT_TRUE(control->IsPageValid());
    EXPECT_TRUE(control->GotoNextPage());
    QApplication::processEvents();
    EXPECT_EQ(reports, (std::vector<Report>{Report(1, refusal), Report(3, refusal)}));
    EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
    EXPECT_TRUE(boxes.shown.empty());

    // A refusal still waiting when the document closes is not told; a new load starts afresh.
    control->SetPageIndex(0);
    load(makeSignedPagesPdf(4, {1, 3}));
    control->SetPageIndex(1);
    control->Close();
    QApplication::processEvents();
    EXPECT_EQ(reports.size(), 2u);
    load(makeSignedPagesPdf(4, {1, 3}));
    control->SetPageIndex(3);
    QApplication::processEvents();
    EXPECT_EQ(reports.size(), 3u);
}

// A refused first page is what the load shows: the load raises the refusal, and nothing is told later.
TEST_F(PdfControlTest, ARefusedFirstPageIsTheLoadsError) {
    std::vector<int> reported;
    control->OnUnsupportedFeature = [&](TPdfControl *, int page, const QString &) {
        reported.push_back(page);
    };
    QBuffer buffer;
    buffer.setData(makeSignedPagesPdf(2, {0}));
    buffer.open(QIODevice::ReadOnly);
    try {
        control->LoadFromStream(&buffer);
        ADD_FAILURE() << "the load raised nothing";
    } catch (const EPdfUnsupportedFeatureException &refusal) {
        EXPECT_EQ(refusal.Message(), QStringLiteral("Function Digital_Signature not supported"));
    }
    EXPECT_EQ(pageChanges, 1);
    EXPECT_FALSE(control->IsPageValid());
    EXPECT_EQ(shot().pixelColor(500, 600), Gray);
    QApplication::processEvents();
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(control->GotoNextPage()) << "the pages after it stay readable";
    EXPECT_TRUE(control->IsPageValid());
}

TEST(PdfControlWebLinks, OnlyWebAndMailAddressesAreHandedToTheSystem) {
    const struct {
        const char *url;
        bool openable;
    } cases[] = {
        {"https://example.org/read", true}, {"http://example.org", true},
        {"HTTP://EXAMPLE.ORG", true},       {"mailto:someone@example.org", true},
        {"file:///etc/passwd", false},      {"javascript:alert(1)", false},
        {"smb://server/share", false},      {"", false},
        {"not a url at all", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isOpenableWebLink(QString::fromUtf8(c.url)), c.openable) << c.url;
}
