// The main window's controls: header, library area and reader area with its toolbar.
#include "app/FormMain.h"

#include "browser/BrowserHost.h"
#include "browser/ChromiumView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The header's icon font, registered once from the resources.
QString iconFontFamily() {
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/fa-solid-900.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QStringLiteral("Font Awesome 5 Free Solid") : families.first();
    }();
    return family;
}

QToolButton *glyphButton(QWidget *parent, char16_t glyph, const QString &hint) {
    auto *button = new QToolButton(parent);
    QFont font(iconFontFamily());
    font.setStyleName(QStringLiteral("Solid"));
    font.setPixelSize(20);
    button->setFont(font);
    button->setText(QString(QChar(glyph)));
    button->setToolTip(hint);
    button->setFixedSize(32, 32);
    button->setAutoRaise(true);
    return button;
}

QToolButton *toolButton(QWidget *parent, const QString &text, const QString &hint) {
    auto *button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(hint);
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

void TFormMain::buildHeader() {
    PanelHeader = new QWidget(this);
    PanelHeader->setFixedHeight(41);
    PanelHeader->setAutoFillBackground(true);
    QPalette colours = PanelHeader->palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Base));
    PanelHeader->setPalette(colours);
    btnLibrary = glyphButton(PanelHeader, 0xF00A, QStringLiteral("Daftar Buku"));
    btnReader = glyphButton(PanelHeader, 0xF02D, QStringLiteral("Reader Buku"));
    btnHelp = glyphButton(PanelHeader, 0xF059, QStringLiteral("Bantuan"));
    btnAbout = glyphButton(PanelHeader, 0xF05A, QStringLiteral("Tentang Aplikasi"));
    auto *layout = new QHBoxLayout(PanelHeader);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(btnLibrary);
    layout->addWidget(btnReader);
    layout->addStretch();
    layout->addWidget(btnHelp);
    layout->addWidget(btnAbout);
    connect(btnLibrary, &QToolButton::clicked, this, &TFormMain::btnLibraryClick);
    connect(btnReader, &QToolButton::clicked, this, &TFormMain::btnReaderClick);
    connect(btnAbout, &QToolButton::clicked, this, &TFormMain::btnAboutClick);
}

void TFormMain::buildLibraryArea() {
    panelBrowser = new QStackedWidget(areas);
    for (std::size_t i = 0; i < Chromium.size(); ++i) {
        Chromium[i] = host->createView(panelBrowser);
        Chromium[i]->setObjectName(QStringLiteral("Chromium%1").arg(i + 1));
        panelBrowser->addWidget(Chromium[i]);
    }
    areas->addWidget(panelBrowser);
}

void TFormMain::buildReaderArea() {
    PanelReader = new QWidget(areas);
    auto *layout = new QVBoxLayout(PanelReader);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PanelToolbar = buildReaderToolbar();
    layout->addWidget(PanelToolbar);
    PageControl1 = new QStackedWidget(PanelReader);
    TabSheet1 = new QWidget(PageControl1);
    TabSheet2 = new QWidget(PageControl1);
    TabSheet3 = new QWidget(PageControl1);
    for (QWidget *sheet : {TabSheet1, TabSheet2, TabSheet3})
        PageControl1->addWidget(sheet);
    layout->addWidget(PageControl1, 1);
    areas->addWidget(PanelReader);
}

QWidget *TFormMain::buildReaderToolbar() {
    auto *toolbar = new QWidget(PanelReader);
    toolbar->setFixedHeight(71);
    toolbar->setAutoFillBackground(true);
    QPalette colours = toolbar->palette();
    colours.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0)); // silver
    toolbar->setPalette(colours);

    btnReturn =
        toolButton(toolbar, QStringLiteral("Kembalikan"), QStringLiteral("Tutup Buku Dan Kembalikan Ke Rak"));
    btnInfo = toolButton(toolbar, QStringLiteral("Info"), QStringLiteral("Info Buku dan Daftar Pustaka"));
    cmbZoom = new QComboBox(toolbar);
    cmbZoom->addItems({QStringLiteral("Default"), QStringLiteral("Fith Width"), QStringLiteral("100%"),
                       QStringLiteral("200%")});
    cmbZoom->setToolTip(QStringLiteral("Ubah Perbesaran Halaman"));
    CheckAutoPage = new QCheckBox(QStringLiteral("Otomatis"), toolbar);
    CheckAutoPage->setToolTip(QStringLiteral("Scroll Untuk Berpindah Halaman"));
    btnPrevious = toolButton(toolbar, QStringLiteral("<"), QStringLiteral("Ke Halaman Sebelumnya"));
    edPage = new QLineEdit(toolbar);
    edPage->setFixedWidth(60);
    btnNext = toolButton(toolbar, QStringLiteral(">"), QStringLiteral("Ke Halaman Selanjutnya"));
    btnTextSelect = toolButton(toolbar, QStringLiteral("T"), QStringLiteral("Aktifkan Pemilihan Teks"));
    AnnotView = new QCheckBox(QStringLiteral("Tampilkan Anotasi"), toolbar);
    AnnotView->setToolTip(QStringLiteral("Tampil / Sembunyikan Anotasi"));
    btnAnnotSettings = toolButton(toolbar, QStringLiteral("..."), QStringLiteral("Setting Warna Anotasi"));
    btnAnnotHighlight = toolButton(toolbar, QStringLiteral("H"), QStringLiteral("Aktifkan Mode Highlight"));
    btnAnnotRect = toolButton(toolbar, QStringLiteral("[ ]"), QStringLiteral("Aktifkan Anotasi Kotak"));
    btnAnnotPen = toolButton(toolbar, QStringLiteral("~"), QStringLiteral("Aktifkan Anotasi Pulpen"));
    btnAnnotText = toolButton(toolbar, QStringLiteral("A"), QStringLiteral("Aktifkan Anotasi Komentar"));
    btnAnnotDelete = toolButton(toolbar, QStringLiteral("X"),
                                QStringLiteral("Hapus Anotasi Yang Telah Dibuat ( Dobel Klik Pada Anotasi)"));
    edSearch = new QLineEdit(toolbar);
    edSearch->setToolTip(QStringLiteral("Lakukan Pencarian Kata"));
    btnSearchPrevious = toolButton(toolbar, QStringLiteral("<"), QString());
    btnSearchNext = toolButton(toolbar, QStringLiteral(">"), QString());

    auto *layout = new QHBoxLayout(toolbar);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(group(toolbar, QStringLiteral("Selesai Baca"), {btnReturn}));
    QGroupBox *bookmark = group(toolbar, QStringLiteral("Bookmark"), {});
    bookmark->hide(); // never shown
    layout->addWidget(bookmark);
    layout->addStretch(); // the groups from "Info Buku" on keep to the right edge
    layout->addWidget(group(toolbar, QStringLiteral("Info Buku"), {btnInfo}));
    layout->addWidget(group(toolbar, QStringLiteral("Zoom"), {cmbZoom}));
    layout->addWidget(group(toolbar, QStringLiteral("Scroll Mode"), {CheckAutoPage}));
    layout->addWidget(group(toolbar, QStringLiteral("Navigasi Halaman"), {btnPrevious, edPage, btnNext}));
    layout->addWidget(group(toolbar, QStringLiteral("Pilih Teks"), {btnTextSelect}));
    layout->addWidget(group(toolbar, QStringLiteral("Anotasi"),
                            {AnnotView, btnAnnotSettings, btnAnnotHighlight, btnAnnotRect, btnAnnotPen,
                             btnAnnotText, btnAnnotDelete}));
    layout->addWidget(
        group(toolbar, QStringLiteral("Pencarian"), {edSearch, btnSearchPrevious, btnSearchNext}));
    return toolbar;
}
