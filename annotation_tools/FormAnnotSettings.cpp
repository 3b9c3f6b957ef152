#include "annotation_tools/FormAnnotSettings.h"

#include "bridge/ProgramState.h"
#include "prompts/MessageBoxes.h"
#include "reader/GlyphButton.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr TColor StartHighlighter = 7727856;
constexpr TColor Red = 255;
const char *const SwatchColour = "swatchColour";

QWidget *header(QWidget *parent, QToolButton *&close) {
    auto *bar = new QWidget(parent);
    bar->setFixedHeight(27);
    bar->setAutoFillBackground(true);
    QPalette colours = bar->palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::white);
    colours.setColor(QPalette::ButtonText, Qt::white);
    bar->setPalette(colours);
    close = glyphButton(bar, 0xF00D, QString(), 14);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(6, 0, 2, 0);
    layout->addWidget(new QLabel(QStringLiteral("Pilihan Warna"), bar), 1);
    layout->addWidget(close);
    return bar;
}
} // namespace

TFormAnnotSettings::TFormAnnotSettings(ProgramState &state, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), state(state) {
    setFixedSize(235, 202);
    auto *rows = new QGridLayout;
    auto addRow = [&](int row, const QString &label, QFrame *&swatch, QToolButton *&button, TColor colour) {
        swatch = new QFrame(this);
        swatch->setFixedSize(32, 32);
        swatch->setFrameShape(QFrame::Box);
        setSwatch(swatch, colour);
        button = new QToolButton(this);
        button->setText(QStringLiteral("..."));
        rows->addWidget(new QLabel(label, this), row, 0);
        rows->addWidget(swatch, row, 1);
        rows->addWidget(button, row, 2);
        connect(button, &QToolButton::clicked, this, [this, button] { btnColorClick(button); });
    };
    addRow(0, QStringLiteral("Highlighter"), shapeHighlighter, btnColorHighlighter, StartHighlighter);
    addRow(1, QStringLiteral("Rectangle"), shapeRectangle, btnColorRectangle, Red);
    addRow(2, QStringLiteral("Pen Ink"), shapeInk, btnColorPen, Red);
    btnSimpan = new QPushButton(QStringLiteral("Simpan"), this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(header(this, btnClose)); // the close glyph has no action: "Simpan" closes
    layout->addLayout(rows);
    layout->addWidget(btnSimpan);
    pickColor = [this](const QColor &initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, this);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
    connect(btnSimpan, &QPushButton::clicked, this, &TFormAnnotSettings::btnSimpanClick);
}

void TFormAnnotSettings::setSwatch(QFrame *swatch, TColor colour) {
    swatch->setProperty(SwatchColour, static_cast<uint>(colour));
    swatch->setAutoFillBackground(true);
    QPalette colours = swatch->palette();
    colours.setColor(QPalette::Window, toQColor(colour));
    swatch->setPalette(colours);
}

TColor TFormAnnotSettings::swatchColour(const QFrame *swatch) const {
    return static_cast<TColor>(swatch->property(SwatchColour).toUInt());
}

void TFormAnnotSettings::btnColorClick(QToolButton *sender) {
    try {
        const bool highlighter = sender == btnColorHighlighter;
        const bool rectangle = sender == btnColorRectangle;
        std::uint32_t &tool = highlighter ? state.clHighlighter : rectangle ? state.clRectangle : state.clPen;
        const std::optional<QColor> chosen = pickColor(toQColor(tool));
        if (!chosen)
            return;
        const TColor colour = fromQColor(*chosen);
        setSwatch(highlighter ? shapeHighlighter : rectangle ? shapeRectangle : shapeInk, colour);
        if (!highlighter)
            tool = colour; // the highlighter waits for "Simpan"
    } catch (const std::exception &error) {
        showError(QStringLiteral("Error Picking Color : ") + QString::fromUtf8(error.what()));
    }
}

void TFormAnnotSettings::btnSimpanClick() {
    state.clHighlighter = swatchColour(shapeHighlighter);
    state.clRectangle = swatchColour(shapeRectangle);
    state.clPen = swatchColour(shapeInk);
    close();
}
