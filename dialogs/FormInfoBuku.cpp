#include "dialogs/FormInfoBuku.h"

#include "dialogs/CitationFile.h"
#include "dialogs/DialogHeader.h"
#include "model/DetailBook.h"
#include "prompts/FileDialogs.h"
#include "prompts/MessageBoxes.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int ValueBackground = 14671839;
constexpr int WindowBackground = 10921365;

// The citation styles in button order: the caption and the book's field that holds the text.
struct CitationStyle {
    const char *caption;
    std::string TDetailBook::*source;
};
constexpr std::array<CitationStyle, TFormInfoBuku::StyleCount> Styles = {{
    {"MLA Style", &TDetailBook::mla_style},
    {"Chicago Style", &TDetailBook::chicago_style},
    {"Turabian Style", &TDetailBook::turabian_style},
    {"APA Style", &TDetailBook::apa_style},
    {"Harvard Style", &TDetailBook::harvard_style},
    {"IEEE Style", &TDetailBook::ieee_style},
}};

QLabel *panel(const QString &text, const QColor &background, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText); // the book's values are shown as they are, markup included
    label->setAutoFillBackground(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, background);
    label->setPalette(colours);
    label->setMinimumHeight(28);
    return label;
}

QFrame *rule(QWidget *parent) {
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    return line;
}

QString twoSpaced(const std::string &value) {
    return QStringLiteral("  ") + QString::fromStdString(value);
}

} // namespace

bool TFormInfoBuku::openWithDefaultProgram(const QString &path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

TFormInfoBuku::TFormInfoBuku(QWidget *parent, FileOpener openFile)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), openFile(std::move(openFile)) {
    setWindowTitle(QStringLiteral("Info Buku"));
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::hide);
    setFixedSize(679, 347);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colorFromBgr(WindowBackground));
    setPalette(colours);

    auto *heading = new QLabel(QStringLiteral("Daftar Pustaka"), this);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(12, 10, 12, 12);
    body->addWidget(buildRows());
    body->addWidget(rule(this));
    body->addWidget(heading, 0, Qt::AlignHCenter);
    body->addWidget(rule(this));
    body->addWidget(buildStyleButtons());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeDialogHeader(this, QStringLiteral("Info Buku"), btnClose));
    layout->addLayout(body, 1);
    connect(btnClose, &QToolButton::clicked, this, &QWidget::close);
}

QWidget *TFormInfoBuku::buildRows() {
    auto *rows = new QWidget(this);
    auto *grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    grid->setColumnStretch(1, 1);
    const QColor labelBackground(Qt::lightGray);
    const QColor valueBackground = colorFromBgr(ValueBackground);
    QLabel **values[] = {&panelJudul, &panelPenulis, &panelPenerbit, &panelISBN, &panelTahun, &panelKategori};
    const char *captions[] = {"  Judul", "  Penulis", "  Penerbit", "  ISBN", "  Tahun Terbit", "  Kategori"};
    for (int row = 0; row < 6; ++row) {
        QLabel *caption = panel(QString::fromLatin1(captions[row]), labelBackground, rows);
        caption->setFixedWidth(130);
        grid->addWidget(caption, row, 0);
        *values[row] = panel(QString(), valueBackground, rows);
        grid->addWidget(*values[row], row, 1);
    }
    return rows;
}

QWidget *TFormInfoBuku::buildStyleButtons() {
    auto *buttons = new QWidget(this);
    auto *grid = new QGridLayout(buttons);
    grid->setContentsMargins(0, 0, 0, 0);
    QPushButton **fields[] = {&btnMLA, &btnCHG, &btnTRB, &btnAPA, &btnHRV, &btnIEE};
    for (int style = 0; style < StyleCount; ++style) {
        auto *button = new QPushButton(QString::fromLatin1(Styles[style].caption), buttons);
        grid->addWidget(button, style / 3, style % 3);
        connect(button, &QPushButton::clicked, this, [this, style] { btnClick(style); });
        *fields[style] = button;
    }
    return buttons;
}

QPushButton *TFormInfoBuku::styleButton(int style) const {
    const std::array<QPushButton *, StyleCount> buttons = {btnMLA, btnCHG, btnTRB, btnAPA, btnHRV, btnIEE};
    return buttons[static_cast<std::size_t>(style)];
}

void TFormInfoBuku::ShowBook(const TDetailBook &book) {
    FormShow(book);
    if (!isVisible() && screen())
        move(screen()->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void TFormInfoBuku::FormShow(const TDetailBook &book) {
    title = QString::fromStdString(book.judul);
    panelJudul->setText(twoSpaced(book.judul));
    panelPenulis->setText(twoSpaced(book.penulis));
    panelPenerbit->setText(twoSpaced(book.penerbit));
    panelISBN->setText(twoSpaced(book.isbn));
    panelTahun->setText(twoSpaced(book.tahun_terbit));
    panelKategori->setText(twoSpaced(book.kategori));
    for (int style = 0; style < StyleCount; ++style) {
        const std::string &text = book.*Styles[style].source;
        const bool available = text != "N/A";
        styleButton(style)->setEnabled(available);
        citations[style] = available ? QString::fromStdString(text) : QString();
    }
}

void TFormInfoBuku::btnClick(int style) {
    const QString suffix = QStringLiteral("html");
    const QString path = fileDialogs().saveFile(this, {QStringLiteral("HTML File (*.html)")}, suffix,
                                                documentsFolder(), citationFileName(title, suffix));
    if (path.isEmpty())
        return;
    const QString failure = writeCitationFile(path, citations[style]);
    if (!failure.isEmpty()) {
        showError(QStringLiteral("Error When Saving : ") + failure);
        return;
    }
    messageBoxes().showTitled(MsgKind::Information, QStringLiteral("Informasi"),
                              QStringLiteral("Berhasil Disimpan Di : ") + path, MsgButtons::Ok);
    if (!openFile(path))
        showWarning(QStringLiteral("File sitasi tersimpan, tetapi tidak dapat dibuka: ") + path);
}
