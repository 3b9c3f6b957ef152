#include "reader/ReaderPanel.h"

#include "reader/BookSidePanel.h"
#include "reader/OverflowToolbar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The control's accessible name is its hint; the tooltip adds the shortcut, when it has one.
void describe(QWidget *control, const QString &hint, const QString &shortcut = {}) {
    control->setAccessibleName(hint);
    control->setToolTip(shortcut.isEmpty() ? hint : QStringLiteral("%1 (%2)").arg(hint, shortcut));
}

QToolButton *toolButton(QWidget *parent, const QString &text, const QString &hint,
                        const QString &shortcut = {}) {
    auto *button = new QToolButton(parent);
    button->setText(text);
    describe(button, hint, shortcut);
    return button;
}

QGroupBox *group(QWidget *parent, const QString &title, std::initializer_list<QWidget *> controls) {
    auto *box = new QGroupBox(title, parent);
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(4, 0, 4, 2);
    for (QWidget *control : controls) {
        control->setParent(box);
        layout->addWidget(control);
    }
    return box;
}

} // namespace

void showToolIndicator(QToolButton *button, bool on) {
    QPalette colours = button->palette();
    // 0x06D0D3 in the 0x00BBGGRR layout: red D3, green D0, blue 06.
    // Active and inactive only: a disabled button keeps the toolbar's disabled grey.
    const QColor text = on ? QColor(0xD3, 0xD0, 0x06) : QColor(Qt::black);
    colours.setColor(QPalette::Active, QPalette::ButtonText, text);
    colours.setColor(QPalette::Inactive, QPalette::ButtonText, text);
    button->setPalette(colours);
}

ReaderPanel::ReaderPanel(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelReader"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PanelToolbar = buildToolbar();
    layout->addWidget(PanelToolbar);
    buildPages();
    // The notice lies over the pages, which show nothing while no tab is shown.
    lblNoBook = new QLabel(QStringLiteral("Tidak ada buku yang sedang dibaca"), this);
    lblNoBook->setObjectName(QStringLiteral("lblNoBook"));
    lblNoBook->setAlignment(Qt::AlignCenter);
    lblNoBook->setAutoFillBackground(true);
    lblNoBook->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored); // the toolbar sets the width
    auto *pages = new QGridLayout;
    pages->addWidget(PageControl1, 0, 0);
    pages->addWidget(lblNoBook, 0, 0);
    sidePanel = new BookSidePanel(this);
    auto *middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(sidePanel);
    middle->addLayout(pages, 1);
    layout->addLayout(middle, 1);
    layout->addWidget(buildStatusLine());
    showBookOpen(false);
}

QWidget *ReaderPanel::buildStatusLine() {
    PanelStatus = new QWidget(this);
    auto *row = new QHBoxLayout(PanelStatus);
    row->setContentsMargins(6, 2, 6, 2);
    lblIdleNotice = new QLabel(PanelStatus);
    lblIdleNotice->setObjectName(QStringLiteral("lblIdleNotice"));
    lblIdleNotice->setStyleSheet(QStringLiteral("background: #fff3b0; padding: 1px 6px;"));
    lblIdleNotice->setTextFormat(Qt::PlainText); // it names the book, whose title is shown as it is
    lblIdleNotice->hide();
    lblIdleClock = new QLabel(PanelStatus);
    // Neither label widens the window: the toolbar decides how narrow the reader may be.
    lblIdleNotice->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblIdleClock->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblIdleClock->setObjectName(QStringLiteral("lblIdleClock"));
    lblIdleClock->setToolTip(QStringLiteral("Gerakkan penunjuk di atas halaman agar buku tetap dipinjam"));
    row->addWidget(lblIdleNotice, 3);
    row->addWidget(lblIdleClock, 1);
    lblIdleClock->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return PanelStatus;
}

std::vector<QWidget *> ReaderPanel::bookControls() const {
    return {btnReturn,    btnSidePanel, btnInfo,       cmbZoom,        CheckAutoPage,    btnPrevious,
            edPage,       btnNext,      btnTextSelect, AnnotView,      btnAnnotSettings, btnAnnotHighlight,
            btnAnnotRect, btnAnnotPen,  btnAnnotText,  btnAnnotDelete, edSearch,         btnSearchPrevious,
            btnSearchNext};
}

void ReaderPanel::showBookOpen(bool open) {
    lblNoBook->setVisible(!open);
    PanelStatus->setVisible(open);
    for (QWidget *control : bookControls())
        control->setEnabled(open);
    btnAnnotUndo->setEnabled(false); // until the book in front has a change
    btnAnnotRedo->setEnabled(false);
    if (open)
        return;
    edPage->clear();
    edSearch->clear();
    lblIdleNotice->hide();
    cmbZoom->setCurrentIndex(0);
    AnnotView->setChecked(false);
    CheckAutoPage->setChecked(false);
    btnSidePanel->setChecked(false);
    sidePanel->hide();
    for (QToolButton *tool :
         {btnTextSelect, btnAnnotHighlight, btnAnnotRect, btnAnnotPen, btnAnnotText, btnAnnotDelete})
        showToolIndicator(tool, false);
}

void ReaderPanel::buildPages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setDocumentMode(true);
    TabSheet1 = new QWidget(PageControl1);
    TabSheet2 = new QWidget(PageControl1);
    TabSheet3 = new QWidget(PageControl1);
    sheets = {TabSheet1, TabSheet2, TabSheet3};
    for (int i = 0; i < SlotCount; ++i) {
        QWidget *page = sheet(i);
        // The part of a timer's name before "_" names its page, so page names have no underscore.
        page->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        auto *fill = new QVBoxLayout(page);
        fill->setContentsMargins(0, 0, 0, 0);
        PageControl1->addTab(page, QString());
        PageControl1->setTabVisible(i, false);
    }
}

QWidget *ReaderPanel::buildToolbar() {
    auto *toolbar = new OverflowToolbar(this);
    toolbar->setFixedHeight(71);
    toolbar->setAutoFillBackground(true);
    QPalette colours = toolbar->palette();
    colours.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0)); // silver
    // The style's disabled text is about as light as silver; with no book open the labels stay legible.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        colours.setColor(QPalette::Disabled, role, QColor(0x70, 0x70, 0x70));
    toolbar->setPalette(colours);
    btnMore = toolbar->moreButton();
    btnMore->setAccessibleName(btnMore->toolTip());
    btnReturn =
        toolButton(toolbar, QStringLiteral("Kembalikan"), QStringLiteral("Tutup Buku Dan Kembalikan Ke Rak"));
    btnSidePanel = toolButton(toolbar, QStringLiteral("Isi"),
                              QStringLiteral("Tampil / Sembunyikan Daftar Isi dan Gambar Halaman"),
                              QStringLiteral("F9"));
    btnSidePanel->setCheckable(true);
    btnInfo = toolButton(toolbar, QStringLiteral("Info"), QStringLiteral("Info Buku dan Daftar Pustaka"));
    btnExportNotes = toolButton(toolbar, QStringLiteral("Ekspor Catatan"),
                                QStringLiteral("Simpan Anotasi dan Teks Yang Disalin ke Berkas"));
    cmbZoom = new QComboBox(toolbar);
    cmbZoom->addItems({QStringLiteral("Default"), QStringLiteral("Fith Width"), QStringLiteral("100%"),
                       QStringLiteral("200%")});
    describe(cmbZoom, QStringLiteral("Ubah Perbesaran Halaman"),
             QStringLiteral("Ctrl+Plus / Ctrl+Minus / Ctrl+0"));
    CheckAutoPage = new QCheckBox(QStringLiteral("Otomatis"), toolbar);
    describe(CheckAutoPage, QStringLiteral("Scroll Untuk Berpindah Halaman"));
    btnPrevious = toolButton(toolbar, QStringLiteral("<"), QStringLiteral("Ke Halaman Sebelumnya"),
                             QStringLiteral("Page Up"));
    edPage = new QLineEdit(toolbar);
    edPage->setFixedWidth(80);
    edPage->setAlignment(Qt::AlignCenter);
    describe(edPage, QStringLiteral("Ketik nomor halaman atau halaman romawi lalu tekan Enter"),
             QStringLiteral("Ctrl+G"));
    btnNext = toolButton(toolbar, QStringLiteral(">"), QStringLiteral("Ke Halaman Selanjutnya"),
                         QStringLiteral("Page Down"));
    btnTextSelect = toolButton(toolbar, QStringLiteral("T"), QStringLiteral("Aktifkan Pemilihan Teks"),
                               QStringLiteral("Esc untuk keluar"));
    AnnotView = new QCheckBox(QStringLiteral("Tampilkan Anotasi"), toolbar);
    describe(AnnotView, QStringLiteral("Tampil / Sembunyikan Anotasi"));
    btnAnnotSettings = toolButton(toolbar, QStringLiteral("..."), QStringLiteral("Setting Warna Anotasi"));
    btnAnnotHighlight = toolButton(toolbar, QStringLiteral("H"), QStringLiteral("Aktifkan Mode Highlight"),
                                   QStringLiteral("Esc untuk keluar"));
    btnAnnotRect = toolButton(toolbar, QStringLiteral("[ ]"), QStringLiteral("Aktifkan Anotasi Kotak"),
                              QStringLiteral("Esc untuk keluar"));
    btnAnnotPen = toolButton(toolbar, QStringLiteral("~"), QStringLiteral("Aktifkan Anotasi Pulpen"),
                             QStringLiteral("Esc untuk keluar"));
    btnAnnotText = toolButton(toolbar, QStringLiteral("A"), QStringLiteral("Aktifkan Anotasi Komentar"),
                              QStringLiteral("Esc untuk keluar"));
    btnAnnotDelete = toolButton(toolbar, QStringLiteral("X"),
                                QStringLiteral("Hapus Anotasi Yang Telah Dibuat ( Dobel Klik Pada Anotasi)"),
                                QStringLiteral("Esc untuk keluar"));
    btnAnnotUndo = toolButton(toolbar, QStringLiteral("\u21B6"), QStringLiteral("Batalkan Perubahan Anotasi"),
                              QStringLiteral("Ctrl+Z"));
    btnAnnotRedo = toolButton(toolbar, QStringLiteral("\u21B7"), QStringLiteral("Ulangi Perubahan Anotasi"),
                              QStringLiteral("Ctrl+Y"));
    edSearch = new QLineEdit(toolbar);
    describe(edSearch, QStringLiteral("Lakukan Pencarian Kata"), QStringLiteral("Ctrl+F"));
    edSearch->setMinimumWidth(160);
    btnSearchPrevious = toolButton(toolbar, QStringLiteral("<"), QStringLiteral("Cari Ke Halaman Sebelumnya"),
                                   QStringLiteral("Shift+F3"));
    btnSearchNext = toolButton(toolbar, QStringLiteral(">"), QStringLiteral("Cari Ke Halaman Selanjutnya"),
                               QStringLiteral("F3"));

    toolbar->layout()->setContentsMargins(4, 2, 4, 2);
    toolbar->addWidget(group(toolbar, QStringLiteral("Selesai Baca"), {btnReturn}));
    QGroupBox *contents = group(toolbar, QStringLiteral("Daftar Isi"), {btnSidePanel});
    toolbar->addWidget(contents);
    QGroupBox *bookmark = group(toolbar, QStringLiteral("Bookmark"), {});
    bookmark->hide(); // never shown
    toolbar->addWidget(bookmark);
    toolbar->addStretch(); // the groups from "Info Buku" on keep to the right edge
    QGroupBox *info = group(toolbar, QStringLiteral("Info Buku"), {btnInfo});
    QGroupBox *notes = group(toolbar, QStringLiteral("Catatan"), {btnExportNotes});
    QGroupBox *zoom = group(toolbar, QStringLiteral("Zoom"), {cmbZoom});
    QGroupBox *scrollMode = group(toolbar, QStringLiteral("Scroll Mode"), {CheckAutoPage});
    QGroupBox *navigation =
        group(toolbar, QStringLiteral("Navigasi Halaman"), {btnPrevious, edPage, btnNext});
    QGroupBox *textSelect = group(toolbar, QStringLiteral("Pilih Teks"), {btnTextSelect});
    QGroupBox *annotations = group(toolbar, QStringLiteral("Anotasi"),
                                   {AnnotView, btnAnnotSettings, btnAnnotHighlight, btnAnnotRect, btnAnnotPen,
                                    btnAnnotText, btnAnnotDelete, btnAnnotUndo, btnAnnotRedo});
    QGroupBox *search =
        group(toolbar, QStringLiteral("Pencarian"), {edSearch, btnSearchPrevious, btnSearchNext});
    for (QWidget *box : {info, notes, zoom, scrollMode, navigation, textSelect, annotations, search})
        toolbar->addWidget(box);
    // On a narrow window the groups least needed while reading go to the "Lainnya" menu first; the
    // return stays in the row.
    toolbar->setLeavingOrder(
        {scrollMode, notes, info, contents, textSelect, zoom, search, annotations, navigation});
    return toolbar;
}
