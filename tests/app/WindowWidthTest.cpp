// The main window on small screens: it can be made 1024 pixels wide, and with a book open every control of
// the header and of the reader toolbar is shown whole inside the window or sits in the toolbar's
// "Lainnya" menu, from where it does what it does in the row. With KELVARA_SCREENSHOT_DIR set, pictures
// of the window and of the open menu at each width are kept there.
#include "annotation_tools/AnnotationTools.h"
#include "annotation_tools/FormAnnotSettings.h"
#include "app/FormMain.h"
#include "bridge/ProgramState.h"
#include "devserver/SampleContent.h"
#include "dialogs/FormInfoBuku.h"
#include "pdfview/PdfControl.h"
#include "reader/ReaderController.h"
#include "reader/ReaderPanel.h"
#include "service/ReplyValues.h"
#include "tests/devserver/ClientAgainstService.h"
#include "tests/support/EventLoop.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

namespace {

// True when `widget` is shown and lies whole inside each of its parents up to `top`: nothing of it is
// cut off.
bool shownWhole(const QWidget *widget, const QWidget *top) {
    if (!widget->isVisible())
        return false;
    for (const QWidget *inner = widget; inner != top; inner = inner->parentWidget()) {
        const QWidget *outer = inner->parentWidget();
        if (!outer || !outer->rect().contains(inner->geometry()))
            return false;
    }
    return true;
}

// A toolbar control, how a member uses it and a value that the use changes.
struct Use {
    QString name;
    QWidget *control;
    std::function<void()> use;
    std::function<QVariant()> probe;
};

constexpr int StartPage = 4; // the sample sentence is on pages 2 and 9 of the book

class WindowWidth : public ::testing::Test, protected ClientAgainstService {
protected:
    std::unique_ptr<TFormMain> window;
    ReaderPanel *panel = nullptr;

    void SetUp() override {
        db.run("UPDATE loans SET ended = datetime('now'), end_reason = 'test' WHERE ended IS NULL");
        db.run("UPDATE books SET stok = qty");
        db.run("DELETE FROM reading_progress");
        const devserver::SampleMember &member = devserver::sampleMembers().at(0);
        const JsonPtr login = lib.LoginRequest(member.username, member.password);
        ASSERT_EQ(replyText(login, "code"), "200");
        lib.setSession(loginSession(login));

        window = std::make_unique<TFormMain>(lib, [](const QString &) {});
        panel = window->PanelReader;
        window->setWindowState(Qt::WindowNoState);
        window->resize(1920, 1080);
        window->show();
        window->setHeaderVisible(true); // as after a login
        lib.FDetailContentJson.store(lib.DetailContentRequest("1001"));
        window->startBookDownload(BorrowRequest::from(lib.FDetailContentJson.load()));
        ASSERT_TRUE(processUntil([&] {
            return window->reader().activeView() && !window->library().state.FTaskControl;
        })) << (boxes.shown.empty() ? std::string() : boxes.shown.front().text.toStdString());
        ASSERT_EQ(window->areas->currentWidget(), panel);
        panel->edSearch->setText(QString::fromUtf8(devserver::kSampleSentence).section(' ', 0, 1));
    }
    void TearDown() override {
        BackgroundTask::waitForAll();
        if (window) {
            window->reader().releaseAll();
            window->close();
        }
        QCoreApplication::processEvents();
    }

    void resizeTo(int width, int height) {
        window->resize(width, height);
        ASSERT_TRUE(processUntil([&] { return window->size() == QSize(width, height); }));
        QCoreApplication::processEvents();
    }
    QMenu *menu() const { return panel->btnMore->menu(); }
    bool inMenu(const QWidget *control) const { return menu()->isAncestorOf(control); }
    void openMenu() {
        menu()->popup(panel->btnMore->mapToGlobal(QPoint(0, panel->btnMore->height())));
        ASSERT_TRUE(processUntil([&] { return menu()->isVisible(); }));
    }
    void screenshot(QWidget *what, const QString &name) {
        const QString folder = qEnvironmentVariable("KELVARA_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            what->grab().save(QDir(folder).filePath(name));
    }

    std::vector<Use> uses() {
        TReaderController *reader = &window->reader();
        auto page = [reader] { return QVariant(reader->activeView()->PageIndex()); };
        auto flag = [reader](bool TReaderSettings::*which) {
            return [reader, which] { return QVariant(reader->activeSettings()->*which); };
        };
        auto click = [](QAbstractButton *button) { return [button] { button->click(); }; };
        auto button = [&](QAbstractButton *control, std::function<QVariant()> probe) {
            return Use{control->toolTip(), control, click(control), std::move(probe)};
        };
        auto shown = [](QWidget *other) { return [other] { return QVariant(other->isVisible()); }; };
        using S = TReaderSettings;
        ReaderPanel *p = panel;
        return {
            button(p->btnReturn, [this] { return QVariant(window->library().state.readCount); }),
            button(p->btnSidePanel, flag(&S::SidePanelShown)),
            button(p->btnInfo, shown(window->FormInfoBuku)),
            {QStringLiteral("cmbZoom"), p->cmbZoom,
             [p] {
                 const bool last = p->cmbZoom->currentIndex() + 1 == p->cmbZoom->count();
                 QTest::keyClick(p->cmbZoom, last ? Qt::Key_Up : Qt::Key_Down);
             },
             [reader] { return QVariant(reader->activeView()->ZoomPercentage()); }},
            button(p->CheckAutoPage, [reader] { return QVariant(reader->activeView()->AutoPageChange()); }),
            button(p->btnPrevious, page),
            {QStringLiteral("edPage"), p->edPage, nullptr, nullptr}, // shows the page; nothing to use
            button(p->btnNext, page),
            button(p->btnTextSelect, flag(&S::CurrentTextSelectState)),
            button(p->AnnotView, flag(&S::CurrentAnnotViewState)),
            button(p->btnAnnotSettings, shown(window->annotationTools().FormAnnotSettings)),
            button(p->btnAnnotHighlight, flag(&S::CurrentHighlightAnnotState)),
            button(p->btnAnnotRect, flag(&S::CurrentRectAnnotState)),
            button(p->btnAnnotPen, flag(&S::CurrentPenAnnotState)),
            button(p->btnAnnotText, flag(&S::CurrentTextAnnotState)),
            button(p->btnAnnotDelete, flag(&S::CurrentAnnotDeleteState)),
            {QStringLiteral("edSearch"), p->edSearch, [p] { QTest::keyClick(p->edSearch, Qt::Key_Return); },
             page},
            {QStringLiteral("btnSearchPrevious"), p->btnSearchPrevious, click(p->btnSearchPrevious), page},
            {QStringLiteral("btnSearchNext"), p->btnSearchNext, click(p->btnSearchNext), page},
        };
    }
};

TEST_F(WindowWidth, TheWindowMayBeMadeAsSmallAsA1024By720Screen) {
    const QSize smallest = window->minimumSizeHint();
    EXPECT_LE(smallest.width(), 1024);
    EXPECT_LE(smallest.height(), 720);
    EXPECT_LE(window->minimumWidth(), 1024);
    EXPECT_LE(window->minimumHeight(), 720);
}

TEST_F(WindowWidth, AtFullWidthTheToolbarShowsEveryGroupInItsRow) {
    for (const Use &use : uses())
        EXPECT_TRUE(shownWhole(use.control, window.get())) << use.name.toStdString();
    EXPECT_FALSE(panel->btnMore->isVisible());
    // The groups from "Info Buku" on keep to the right edge, the return to the left.
    const int right = panel->btnSearchNext->mapTo(window.get(), QPoint(panel->btnSearchNext->width(), 0)).x();
    EXPECT_GT(right, window->width() - 40);
    EXPECT_LT(panel->btnReturn->mapTo(window.get(), QPoint(0, 0)).x(), 40);
}

TEST_F(WindowWidth, OnSmallScreensEveryControlIsShownWholeOrInTheMenuAndWorksFromThere) {
    for (const QSize size : {QSize(1280, 720), QSize(1024, 720)}) {
        const QString label = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        SCOPED_TRACE(label.toStdString());
        resizeTo(size.width(), size.height());
        window->FormInfoBuku->hide();
        window->annotationTools().FormAnnotSettings->hide();
        window->reader().activeView()->SetPageIndex(StartPage);
        screenshot(window.get(), QStringLiteral("window-%1.png").arg(label));
        for (QWidget *control :
             std::initializer_list<QWidget *>{window->btnLibrary, window->btnReader, window->btnHelp,
                                              window->btnAbout, panel->PageControl1->tabBar()})
            EXPECT_TRUE(shownWhole(control, window.get())) << control->toolTip().toStdString();
        EXPECT_TRUE(shownWhole(window->reader().activeView(), window.get()));
        EXPECT_FALSE(inMenu(panel->btnReturn));
        EXPECT_TRUE(shownWhole(panel->btnMore, window.get())); // the full row does not fit

        std::vector<Use> fromMenu;
        for (const Use &use : uses()) {
            if (inMenu(use.control))
                fromMenu.push_back(use);
            else
                EXPECT_TRUE(shownWhole(use.control, window.get())) << use.name.toStdString();
        }
        ASSERT_FALSE(fromMenu.empty());
        openMenu();
        screenshot(menu(), QStringLiteral("menu-%1.png").arg(label));
        for (const Use &use : fromMenu)
            EXPECT_TRUE(shownWhole(use.control, menu())) << use.name.toStdString();

        for (const Use &use : fromMenu) {
            if (!use.use)
                continue;
            SCOPED_TRACE(use.name.toStdString());
            openMenu();
            const QVariant before = use.probe();
            use.use();
            EXPECT_TRUE(processUntil([&] { return use.probe() != before; }));
            EXPECT_FALSE(menu()->isVisible()); // used, as a menu item is
            BackgroundTask::waitForAll();
            QCoreApplication::processEvents();
        }
        EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text.toStdString();
    }
}

} // namespace
