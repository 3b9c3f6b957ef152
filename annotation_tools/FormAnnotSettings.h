#pragma once
#include "pdfview/PdfColor.h"

#include <QDialog>

#include <functional>
#include <optional>

class QFrame;
class QPushButton;
struct ProgramState;
class QToolButton;

// "Pilihan Warna": the colours of new highlights, rectangles and ink strokes. Rectangle and ink
// colours take effect as soon as they are picked; the highlighter's only with "Simpan".
class TFormAnnotSettings : public QDialog {
    Q_OBJECT
public:
    // Reads and sets the tool colours of `state`.
    explicit TFormAnnotSettings(ProgramState &state, QWidget *parent = nullptr);

    void btnColorClick(QToolButton *sender);
    void btnSimpanClick();
    TColor swatchColour(const QFrame *swatch) const;

    // Asks for a colour starting from `initial`; a test can answer instead of the dialog.
    std::function<std::optional<QColor>(const QColor &initial)> pickColor;

    QToolButton *btnClose;
    QFrame *shapeHighlighter, *shapeRectangle, *shapeInk;
    QToolButton *btnColorHighlighter, *btnColorRectangle, *btnColorPen;
    QPushButton *btnSimpan;

private:
    ProgramState &state;

    void setSwatch(QFrame *swatch, TColor colour);
};
