// The main window's controls: header, library area and reader area with its toolbar.
#include "app/FormMain.h"

#include "browser/BrowserHost.h"
#include "browser/ChromiumView.h"

#include "reader/ReaderPanel.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolButton>

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
    DownloadProgress = new QProgressBar(PanelHeader);
    DownloadProgress->setFixedWidth(320);
    DownloadProgress->hide();
    layout->addWidget(DownloadProgress);
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
    PanelReader = new ReaderPanel(areas);
    areas->addWidget(PanelReader);
}
