// The main window's controls: header, library area and reader area with its toolbar.
#include "app/FormMain.h"

#include "browser/BrowserHost.h"
#include "browser/ChromiumView.h"
#include "browser/HiddenPageDiscard.h"

#include "reader/GlyphButton.h"
#include "reader/ReaderPanel.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>

namespace {
// How long a catalogue view stays hidden before its page is given up: a quick look elsewhere and back
// costs nothing.
constexpr std::chrono::seconds HiddenPageLifetime(1);

// Alt+Left does what the page's own way back does: its last "back" breadcrumb link.
constexpr const char *FollowBackLink =
    "(function(){var l=document.querySelectorAll('.breadcrumb-item a[onclick*=\"app.back\"]');"
    "if(l.length)l[l.length-1].click();})();";
// Escape closes a pop-up the page shows (the welcome message of the home page), by its close button.
constexpr const char *ClosePopup =
    "(function(){var b=document.querySelector('.modal.in [data-dismiss=\"modal\"]');if(b)b.click();})();";
} // namespace

void TFormMain::buildHeader() {
    PanelHeader = new QWidget(this);
    PanelHeader->setFixedHeight(41);
    PanelHeader->hide(); // until a login, whatever way start-up goes
    PanelHeader->setAutoFillBackground(true);
    QPalette colours = PanelHeader->palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Base));
    PanelHeader->setPalette(colours);
    btnLibrary = glyphButton(PanelHeader, 0xF00A, QStringLiteral("Daftar Buku"));
    btnReader = glyphButton(PanelHeader, 0xF02D, QStringLiteral("Reader Buku"));
    btnHelp = glyphButton(PanelHeader, 0xF059, QStringLiteral("Bantuan"));
    btnAbout = glyphButton(PanelHeader, 0xF05A, QStringLiteral("Tentang Aplikasi"));
    for (QToolButton *button : {btnLibrary, btnReader, btnHelp, btnAbout})
        button->setFixedSize(32, 32);
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
        // The login and home view, where the member comes back most, stays; the others give up their
        // page once hidden for a moment and load it again from its file when shown.
        if (i > 0)
            new HiddenPageDiscard(*Chromium[i], HiddenPageLifetime);
    }
    areas->addWidget(panelBrowser);
    for (const auto &[keys, script] : {std::pair(QKeySequence(Qt::ALT | Qt::Key_Left), FollowBackLink),
                                       std::pair(QKeySequence(Qt::Key_Escape), ClosePopup)}) {
        auto *shortcut = new QShortcut(keys, panelBrowser);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, script = script] {
            if (auto *front = qobject_cast<ChromiumView *>(panelBrowser->currentWidget()))
                front->runScript(script);
        });
    }
}

void TFormMain::buildReaderArea() {
    PanelReader = new ReaderPanel(areas);
    areas->addWidget(PanelReader);
}
