// The annotation tools driven with real mouse and key events on a real book view, offscreen.
#include "tests/app/RecordingLibraryWindow.h"
#include "tests/pdfview/PdfFixture.h"

#include "annotation_tools/AnnotationTools.h"
#include "annotation_tools/FormAnnotSettings.h"
#include "annotation_tools/FormNotes.h"
#include "annotation_tools/FormSticky.h"
#include "annotation_tools/ShortNotice.h"
#include "bridge/LibraryController.h"
#include "bridge/ProgramState.h"
#include "pdfview/PdfControl.h"
#include "prompts/FileDialogs.h"
#include "prompts/MessageBoxes.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "service/RuvasaLib.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLayout>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class AnnotationTools : public testing::Test {
protected:
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};
    TRuvasaLib lib{ServiceEndpoint{"https://127.0.0.1:9", ""}};
    RecordingLibraryWindow window;
    ProgramState program;
    TLibraryController library{window, lib, program};
    QStackedWidget areas;
    ReaderPanel *panel = new ReaderPanel(&areas);
    TReaderController reader{window, library, *panel, lib};
    TAnnotationTools tools{reader, *panel, &areas};
    TPdfControl *view = nullptr;

    // One open book in the first page, as the reader leaves it once set up.
    void SetUp() override {
        areas.addWidget(panel);
        areas.resize(1000, 1100);
        areas.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&areas));
        QWidget *sheet = panel->sheet(0);
        view = new TPdfControl(sheet);
        sheet->layout()->addWidget(view);
        tools.attachInput(*view);
        panel->PageControl1->setTabVisible(0, true);
        panel->PageControl1->setCurrentIndex(0);
        view->LoadFromBytes(makeFixturePdf(
            {FixturePage{612,
                         792,
                         {FixtureText{72, 100, QStringLiteral("Hello world of books"), 24},
                          FixtureText{72, 160, QStringLiteral("second line here"), 24}}},
             FixturePage{612, 792, {FixtureText{72, 100, QStringLiteral("another page"), 24}}}}));
        view->SetScaleMode(TPdfControlScaleMode::smZoom);
        view->SetZoomPercentage(100);
        view->SetAllowUserTextSelection(false);
        auto book = std::make_unique<TDetailBook>();
        book->id = "K1";
        book->TabSheet = sheet;
        book->judul = "Hikayat";
        book->penulis = "Andrea";
        book->penerbit = "Pustaka";
        book->tahun_terbit = "2020";
        book->halaman_romawi = 1;
        reader.readDict["K1"] = std::move(book);
        auto state = std::make_unique<TReaderSettings>();
        state->AnnotationObject = JsonDocument{{"id_konten", "K1"}, {"data", JsonDocument::array()}};
        state->TextCopyObject = state->AnnotationObject;
        reader.readerState["TabSheet1"] = std::move(state);
        program.readCount = 1;
        tools.attachPaint(*view);
        QApplication::processEvents();
    }
    void TearDown() override { reader.releaseAll(); }

    TReaderSettings &settings() { return *reader.readerState.at("TabSheet1"); }
    JsonDocument &entries() { return settings().AnnotationObject["data"]; }

    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(pos), QPointF(view->mapToGlobal(pos)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
    void press(QPoint p) { send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
    void drag(QPoint p) { send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
    void hover(QPoint p) { send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
    void release(QPoint p) { send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }
    void gesture(QPoint from, std::initializer_list<QPoint> through, QPoint to) {
        hover(from);
        press(from);
        for (QPoint p : through)
            drag(p);
        drag(to);
        release(to);
    }
    void doubleClick(QPoint p) {
        hover(p);
        press(p);
        release(p);
        send(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
        release(p);
    }
    QRect charBox(int index) const {
        return view->PageToDevice(view->GetCurrentPage()->GetCharBox(index)).normalized();
    }
    QPoint pageCentre() const { return view->GetPageRect().center(); }
    QColor pixel(QPoint p) { return view->grab().toImage().pixelColor(p); }
    QColor indicator(QToolButton *button) const {
        return button->palette().color(QPalette::Active, QPalette::ButtonText);
    }
    void click(QToolButton *button) { tools.ButtonAnnotClick(button); }
};

const QColor On(0xD3, 0xD0, 0x06);
const QColor Off(Qt::black);

TEST_F(AnnotationTools, ButtonsFollowTheSwitchOffTable) {
    click(panel->btnAnnotDelete);
    EXPECT_TRUE(settings().CurrentAnnotDeleteState);
    EXPECT_TRUE(settings().CurrentAnnotViewState);
    EXPECT_TRUE(panel->AnnotView->isChecked());
    EXPECT_EQ(indicator(panel->btnAnnotDelete), On);

    click(panel->btnAnnotPen); // no tool switches delete mode off
    EXPECT_TRUE(settings().CurrentPenAnnotState);
    EXPECT_TRUE(settings().CurrentAnnotDeleteState);
    EXPECT_FALSE(view->AllowUserTextSelection());

    click(panel->btnAnnotHighlight);
    EXPECT_FALSE(settings().CurrentPenAnnotState);
    EXPECT_EQ(indicator(panel->btnAnnotPen), Off);
    EXPECT_TRUE(view->AllowUserTextSelection());

    click(panel->btnAnnotText); // the note tool leaves the permission as it was
    EXPECT_FALSE(settings().CurrentHighlightAnnotState);
    EXPECT_TRUE(view->AllowUserTextSelection());

    click(panel->btnTextSelect);
    EXPECT_FALSE(settings().CurrentTextAnnotState);
    EXPECT_EQ(indicator(panel->btnAnnotText), Off);
    click(panel->btnTextSelect); // switching text selection off takes the permission away
    EXPECT_FALSE(settings().CurrentTextSelectState);
    EXPECT_FALSE(view->AllowUserTextSelection());

    click(panel->btnAnnotDelete);
    EXPECT_FALSE(settings().CurrentAnnotDeleteState);
    EXPECT_EQ(indicator(panel->btnAnnotDelete), Off);
}

TEST_F(AnnotationTools, AHighlightStoresTheSelectedTextsRectanglesAndSwitchesItselfOff) {
    click(panel->btnAnnotHighlight);
    const QRect first = charBox(0), last = charBox(4); // "Hello"
    const QPoint from(first.left() + 1, first.center().y()), to(last.right(), last.center().y());
    gesture(from, {QPoint(first.right(), from.y())}, to);

    ASSERT_EQ(entries().size(), 1u);
    const JsonDocument &entry = entries()[0];
    EXPECT_EQ(entry["type"], "HIGHLIGHT");
    EXPECT_EQ(entry["page"], 0);
    EXPECT_EQ(entry["color"], 0xffff);
    ASSERT_EQ(entry["draw_data"].size(), 1u);
    ASSERT_EQ(entry["point_data"].size(), 1u);
    const JsonDocument &band = entry["draw_data"][0];
    const QRect r(QPoint(band["left"], band["top"]),
                  QPoint(band["right"].get<int>() - 1, band["bottom"].get<int>() - 1));
    EXPECT_TRUE(r.contains(first.center()) && r.contains(last.center()));
    // One line of text: the box takes the line's height, and its width also holds press and release.
    const TPdfRect box = view->DeviceToPage(
        QRect(std::min(from.x(), r.left()), r.top(),
              std::max(to.x(), r.left() + r.width()) - std::min(from.x(), r.left()), r.height()));
    EXPECT_DOUBLE_EQ(entry["point"]["top"].get<double>(), box.Top);
    EXPECT_DOUBLE_EQ(entry["point"]["bottom"].get<double>(), box.Bottom);
    EXPECT_DOUBLE_EQ(entry["point"]["left"].get<double>(), box.Left);
    EXPECT_FALSE(settings().CurrentHighlightAnnotState);
    EXPECT_EQ(indicator(panel->btnAnnotHighlight), Off);

    view->ClearSelection();
    QApplication::processEvents();
    const QColor tinted = pixel(QPoint(r.center().x(), r.top() + 1));
    EXPECT_LT(tinted.blue(), 200) << "yellow over the white page";
    panel->AnnotView->setChecked(false);
    QApplication::processEvents();
    EXPECT_GT(pixel(QPoint(r.center().x(), r.top() + 1)).blue(), 240) << "hidden with Tampilkan Anotasi off";
}

TEST_F(AnnotationTools, AHighlightWithoutTextKeepsOnlyItsBox) {
    click(panel->btnAnnotHighlight);
    const QPoint c = pageCentre();
    gesture(c, {}, c + QPoint(40, 20));
    ASSERT_EQ(entries().size(), 1u);
    EXPECT_FALSE(entries()[0].contains("draw_data"));
    EXPECT_FALSE(entries()[0].contains("point_data"));
    EXPECT_TRUE(entries()[0].contains("point"));
}

TEST_F(AnnotationTools, ARectangleDraggedUpLeftIsStoredAndPaintedButNeverHit) {
    click(panel->btnAnnotRect);
    const QPoint start = pageCentre(), end = start - QPoint(120, 80);
    gesture(start, {start - QPoint(60, 40)}, end);
    ASSERT_EQ(entries().size(), 1u);
    EXPECT_EQ(entries()[0]["type"], "RECTANGLE");
    EXPECT_EQ(entries()[0]["color"], 255);
    EXPECT_GT(entries()[0]["point"]["left"].get<double>(), entries()[0]["point"]["right"].get<double>());
    EXPECT_FALSE(settings().CurrentRectAnnotState);
    QApplication::processEvents();
    EXPECT_EQ(pixel(QPoint(start.x() - 60, end.y())), QColor(Qt::red));

    click(panel->btnAnnotDelete);
    doubleClick(start - QPoint(60, 40));
    EXPECT_TRUE(boxes.shown.empty()) << "reversed corners are never found";
    EXPECT_EQ(entries().size(), 1u);
}

TEST_F(AnnotationTools, ARectangleIsDeletedOnlyWithOkAndDeleteModeStaysOn) {
    click(panel->btnAnnotRect);
    const QPoint start = pageCentre(), end = start + QPoint(120, 80);
    gesture(start, {}, end);
    click(panel->btnAnnotDelete);
    boxes.answers = {MsgAnswer::Cancel};
    doubleClick(start + QPoint(60, 40));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Hapus Anotasi?");
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(entries().size(), 1u);
    boxes.answers = {MsgAnswer::Ok};
    doubleClick(start + QPoint(60, 40));
    EXPECT_TRUE(entries().empty());
    EXPECT_TRUE(settings().CurrentAnnotDeleteState);
}

TEST_F(AnnotationTools, AnInkStrokesBoxLeavesOutThePenDownPoint) {
    click(panel->btnAnnotPen);
    const QPoint down = pageCentre();
    gesture(down, {down + QPoint(30, 10), down + QPoint(60, 40)}, down + QPoint(60, 40));
    ASSERT_EQ(entries().size(), 1u);
    const JsonDocument &ink = entries()[0];
    EXPECT_EQ(ink["type"], "INK");
    EXPECT_EQ(ink["draw_data"].size(), 3u);
    const TPdfPoint pen = view->DeviceToPage(down.x(), down.y());
    EXPECT_DOUBLE_EQ(ink["point"]["x"].get<double>(), pen.X);
    const TPdfPoint corner = view->DeviceToPage(down.x() + 30, down.y() + 10);
    EXPECT_DOUBLE_EQ(ink["point"]["left"].get<double>(), corner.X);
    EXPECT_DOUBLE_EQ(ink["point"]["top"].get<double>(), corner.Y);
    EXPECT_FALSE(settings().CurrentPenAnnotState);

    click(panel->btnAnnotPen); // a press and release with nothing drawn keeps nothing
    press(down);
    release(down);
    EXPECT_EQ(entries().size(), 1u);
    EXPECT_FALSE(settings().CurrentPenAnnotState);
}

TEST_F(AnnotationTools, APressBesideThePageStartsNothing) {
    click(panel->btnAnnotRect);
    const QRect page = view->GetPageRect();
    const QPoint beside(page.left() - 20, page.center().y());
    gesture(beside, {}, beside + QPoint(-10, 30));
    EXPECT_TRUE(entries().empty());
    EXPECT_TRUE(settings().CurrentRectAnnotState) << "the tool stays on";
}

TEST_F(AnnotationTools, ANoteIsSavedWhereItWasPlacedAndOpenedAndDeletedByItsViewer) {
    click(panel->btnAnnotText);
    const QPoint spot = pageCentre();
    gesture(spot, {}, spot);
    ASSERT_TRUE(tools.FormSticky->isVisible());
    EXPECT_FALSE(settings().CurrentTextAnnotState);
    tools.FormSticky->RichEdit1->setPlainText(QStringLiteral("baris satu\nbaris dua"));
    tools.FormSticky->btnSaveNotesClick();
    ASSERT_EQ(entries().size(), 1u);
    const JsonDocument &note = entries()[0];
    EXPECT_EQ(note["type"], "NOTES");
    EXPECT_EQ(note["note_id"], "");
    EXPECT_EQ(note["color"], 374470);
    EXPECT_EQ(note["text"], "baris satu\r\nbaris dua");
    EXPECT_EQ(note["font"], "Tahoma");
    const TPdfRect square = view->DeviceToPage(QRect(spot.x(), spot.y(), 50, 50));
    EXPECT_DOUBLE_EQ(note["point"]["left"].get<double>(), square.Left);
    EXPECT_DOUBLE_EQ(note["point"]["bottom"].get<double>(), square.Bottom);
    EXPECT_FALSE(tools.FormSticky->isVisible());

    click(panel->btnAnnotDelete); // a note is not deleted by delete mode: its viewer opens
    doubleClick(spot + QPoint(10, 10));
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_TRUE(tools.FormNotes->isVisible());
    EXPECT_EQ(tools.FormNotes->RichEdit1->toPlainText(),
              QStringLiteral("baris satu\r\nbaris dua").replace("\r\n", "\n"));
    boxes.answers = {MsgAnswer::Cancel};
    tools.FormNotes->Button2Click();
    EXPECT_TRUE(tools.FormNotes->isVisible());
    EXPECT_EQ(entries().size(), 1u);
    boxes.answers = {MsgAnswer::Ok};
    tools.FormNotes->Button2Click();
    EXPECT_TRUE(entries().empty());
    EXPECT_FALSE(tools.FormNotes->isVisible());
}

TEST_F(AnnotationTools, AnOpenEditorOrViewerNeverWritesIntoAnotherBook) {
    click(panel->btnAnnotText);
    gesture(pageCentre(), {}, pageCentre());
    settings().IdBaca = "another loan"; // the page now holds another loan
    tools.FormSticky->btnSaveNotesClick();
    EXPECT_TRUE(entries().empty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(tools.FormSticky->isVisible());

    JsonDocument note{{"page", 0}, {"type", "NOTES"}, {"text", "a"}};
    entries().push_back(note);
    tools.FormNotes->showNote("TabSheet1", 0, view, note);
    entries()[0]["text"] = "changed underneath";
    boxes.answers = {MsgAnswer::Ok};
    tools.FormNotes->Button2Click();
    EXPECT_EQ(entries().size(), 1u);
}

TEST_F(AnnotationTools, CtrlCCopiesTheCitationAndRecordsEachPassageOnce) {
    view->SetAllowUserTextSelection(true);
    view->SelectText(0, 5); // "Hello"
    QApplication::clipboard()->setText(QStringLiteral("before"));
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    const QString expected =
        QStringLiteral("Judul : Hikayat\r\nPenulis : Andrea\r\nPenerbit : Pustaka\r\nTahun Terbit : "
                       "2020\r\nHalaman : I\r\nFrase : Hello");
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    EXPECT_EQ(settings().TextCopyObject["data"].dump(), R"([{"page":"I","text":"Hello"}])");

    view->SetPageIndex(1);
    view->SelectText(0, 7); // "another"
    reader.readDict.at("K1")->dept = "JURNAL";
    QApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"))
        << "a journal leaves the clipboard";
    EXPECT_EQ(settings().TextCopyObject["data"].size(), 2u);
    EXPECT_EQ(settings().TextCopyObject["data"][1]["page"], "1");
}

TEST_F(AnnotationTools, TheCopyKeysCopyOnThePressWhicheverKeyGoesUpFirstAndSaySoBriefly) {
    view->SetAllowUserTextSelection(true);
    view->SelectText(0, 5); // "Hello"
    const QString citation =
        QStringLiteral("Judul : Hikayat\r\nPenulis : Andrea\r\nPenerbit : Pustaka\r\nTahun Terbit : "
                       "2020\r\nHalaman : I\r\nFrase : Hello");
    QClipboard &clipboard = *QApplication::clipboard();
    clipboard.setText(QStringLiteral("before"));
    QTest::keyPress(view, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyPress(view, Qt::Key_C, Qt::ControlModifier);
    QTest::keyRelease(view, Qt::Key_Control, Qt::NoModifier); // Ctrl goes up first
    QTest::keyRelease(view, Qt::Key_C, Qt::NoModifier);
    EXPECT_EQ(clipboard.text(), citation);
    EXPECT_EQ(settings().TextCopyObject["data"].dump(), R"([{"page":"I","text":"Hello"}])");

    ShortNotice *notice = view->parentWidget()->findChild<ShortNotice *>();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_FALSE(notice->isWindow()) << "a label over the page, no window of its own";
    EXPECT_TRUE(view->geometry().contains(notice->geometry()));
    EXPECT_EQ(notice->text(), QStringLiteral("Teks disalin beserta kutipan"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(boxes.shown.empty());
    QTimer *hide = notice->findChild<QTimer *>();
    ASSERT_NE(hide, nullptr);
    EXPECT_TRUE(hide->isActive() && hide->isSingleShot());
    QMetaObject::invokeMethod(hide, "timeout"); // its time is up
    EXPECT_FALSE(notice->isVisible());

    clipboard.setText(QStringLiteral("held"));
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QStringLiteral("c"), true);
    EXPECT_TRUE(QApplication::sendEvent(view, &repeat)) << "a held key is still taken";
    EXPECT_EQ(clipboard.text(), QStringLiteral("held")) << "but copies nothing more";
    EXPECT_FALSE(notice->isVisible());

    QTest::keyClick(view, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(clipboard.text(), citation);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(view->parentWidget()->findChildren<ShortNotice *>().size(), 1) << "one notice, shown again";

    reader.readDict.at("K1")->dept = "JURNAL";
    clipboard.setText(QStringLiteral("before"));
    view->SelectText(6, 5); // "world"
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard.text(), QStringLiteral("before"));
    EXPECT_EQ(settings().TextCopyObject["data"].size(), 2u);
    EXPECT_EQ(notice->text(), QStringLiteral("Teks jurnal tidak disalin, frasa dicatat"));
}

TEST_F(AnnotationTools, APassageOverThreeLinesIsCopiedWithSpacesAndItsWrappedWordWhole) {
    view->LoadFromBytes(makeFixturePdf(
        {FixturePage{612,
                     792,
                     {FixtureText{72, 100, QStringLiteral("Kapal itu bersandar di pelabuhan"), 20},
                      FixtureText{72, 140, QStringLiteral("di tepi danau yang te-"), 20},
                      FixtureText{72, 180, QStringLiteral("nang sekali."), 20}}}}));
    view->SetAllowUserTextSelection(true);
    TPdfPage &page = *view->GetCurrentPage();
    const QString text = page.ReadText(0, page.GetCharCount());
    ASSERT_TRUE(text.contains(QStringLiteral("pelabuhan\r\ndi tepi")));
    ASSERT_TRUE(text.contains(QStringLiteral("te") + QChar(0xFFFE) + QStringLiteral("nang")))
        << "a wrapped word";
    const int from = text.indexOf(QStringLiteral("di pelabuhan")),
              to = text.indexOf(QStringLiteral("nang")) + 4;
    view->SelectText(from, to - from);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);

    const QString phrase = QStringLiteral("di pelabuhan di tepi danau yang tenang");
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith(QStringLiteral("\r\nFrase : ") + phrase))
        << QApplication::clipboard()->text().toStdString();
    ASSERT_EQ(settings().TextCopyObject["data"].size(), 1u);
    EXPECT_EQ(settings().TextCopyObject["data"][0]["text"], phrase.toStdString());
}

TEST_F(AnnotationTools, TheColourWindowAppliesRectangleAndInkAtOnceAndTheHighlighterWithSimpan) {
    TFormAnnotSettings &colours = *tools.FormAnnotSettings;
    colours.pickColor = [](const QColor &) { return std::optional<QColor>(QColor(1, 2, 3)); };
    colours.btnColorClick(colours.btnColorHighlighter);
    EXPECT_EQ(program.clHighlighter, 0xffffu);
    colours.btnColorClick(colours.btnColorPen);
    EXPECT_EQ(program.clPen, 0x030201u);
    colours.btnSimpanClick();
    EXPECT_EQ(program.clHighlighter, 0x030201u);
    EXPECT_EQ(program.clRectangle, 255u) << "the rectangle swatch starts red";

    TFormAnnotSettings fresh{program};
    fresh.btnSimpanClick();
    EXPECT_EQ(program.clHighlighter, 7727856u);
    EXPECT_EQ(program.clPen, 255u);
}

TEST_F(AnnotationTools, EksporCatatanRefusesABookWithNothingToExportWithoutAskingForAFile) {
    ScriptedFileDialogs dialogs;
    ScopedFileDialogs dialogScope{dialogs};
    panel->btnExportNotes->click();
    EXPECT_TRUE(dialogs.asked.empty());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, MsgKind::Information);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Buku ini belum memiliki anotasi atau teks yang disalin, "
                                                  "tidak ada catatan untuk diekspor."));
}

TEST_F(AnnotationTools, EksporCatatanWritesTheHighlightedTextInTheChosenTypeOrSaysWhyNot) {
    click(panel->btnAnnotHighlight);
    const QRect first = charBox(0), last = charBox(4); // "Hello"
    gesture(QPoint(first.left() + 1, first.center().y()), {}, QPoint(last.right(), last.center().y()));
    ASSERT_EQ(entries().size(), 1u);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hikayat.html"));
    const QString taken = dir.filePath(QStringLiteral("diambil"));
    ASSERT_TRUE(QDir().mkpath(taken)); // a folder holds the second answer's name
    ScriptedFileDialogs dialogs;
    dialogs.answers = {path, taken};
    ScopedFileDialogs dialogScope{dialogs};

    panel->btnExportNotes->click();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_TRUE(dialogs.asked[0].save);
    EXPECT_EQ(dialogs.asked[0].filters,
              (QStringList{QStringLiteral("Markdown (*.md)"), QStringLiteral("HTML File (*.html)")}));
    EXPECT_EQ(dialogs.asked[0].proposedName, QStringLiteral("Catatan Hikayat.md"));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("<!DOCTYPE html>"))) << text.toStdString();
    EXPECT_TRUE(
        text.contains(QStringLiteral("<h2>Halaman I</h2>\n<h3>Sorotan</h3>\n<blockquote>Hello</blockquote>")))
        << text.toStdString();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Informasi"));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Berhasil Disimpan Di : ") + path);

    panel->btnExportNotes->click();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].kind, MsgKind::Error);
    EXPECT_TRUE(boxes.shown[1].text.startsWith(QStringLiteral("Catatan gagal disimpan : ")));
    EXPECT_EQ(QDir(taken).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

} // namespace
