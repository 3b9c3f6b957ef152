#pragma once
#include <QWidget>

#include <array>
#include <vector>

class BookSidePanel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTabWidget;
class QToolButton;

// The reader area of the main window: a toolbar above the three book pages. Each page holds at most one
// borrowed book's view; a page's tab is shown only while it holds one.
class ReaderPanel : public QWidget {
    Q_OBJECT
public:
    explicit ReaderPanel(QWidget *parent = nullptr);

    // The page at slot index 0, 1 or 2.
    QWidget *sheet(int index) const { return sheets[static_cast<std::size_t>(index)]; }
    static constexpr int SlotCount = 3;

    QWidget *PanelToolbar;
    QTabWidget *PageControl1;
    QWidget *TabSheet1, *TabSheet2, *TabSheet3;
    // ---- Toolbar ----
    QToolButton *btnReturn, *btnInfo, *btnExportNotes;
    // Shows and hides the side panel of the book in front (checked while it is shown).
    QToolButton *btnSidePanel;
    QComboBox *cmbZoom;
    QCheckBox *CheckAutoPage;
    QToolButton *btnPrevious, *btnNext;
    QLineEdit *edPage;
    QToolButton *btnTextSelect;
    QCheckBox *AnnotView;
    QToolButton *btnAnnotSettings, *btnAnnotHighlight, *btnAnnotRect, *btnAnnotPen, *btnAnnotText,
        *btnAnnotDelete;
    // Undo and redo of the annotation changes of the book in front; enabled while there is one.
    QToolButton *btnAnnotUndo, *btnAnnotRedo;
    QLineEdit *edSearch;
    QToolButton *btnSearchPrevious, *btnSearchNext;
    // At the right end of a toolbar too narrow for all groups: its menu holds the groups left out.
    QToolButton *btnMore;
    // Left of the pages: the outline and page thumbnails of the book in front; hidden until asked for.
    BookSidePanel *sidePanel;
    // Shown over the pages while no book is open.
    QLabel *lblNoBook;
    // The status line under the pages while a book is open: a notice shortly before a book goes back
    // by itself (hidden otherwise), and the minutes left before the book in front does.
    QWidget *PanelStatus;
    QLabel *lblIdleNotice, *lblIdleClock;

    // With no book open the notice covers the pages, the toolbar's controls are disabled and show
    // what they show at start; with a book they are enabled.
    void showBookOpen(bool open);

private:
    QWidget *buildToolbar();
    void buildPages();
    QWidget *buildStatusLine();
    // The toolbar's controls that act on the book in front.
    std::vector<QWidget *> bookControls() const;

    std::array<QWidget *, SlotCount> sheets{};
};

// Shows a tool's state by the colour of its button's glyph: yellow when on, black when off.
void showToolIndicator(QToolButton *button, bool on);
