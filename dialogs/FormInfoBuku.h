#pragma once
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QToolButton;
struct TDetailBook;

// "Info Buku": one borrowed book's bibliographic data and its citation in six styles, each saved
// to an HTML file and opened. Not modal.
class TFormInfoBuku : public QWidget {
    Q_OBJECT
public:
    // Opens a saved file with the system's default program for it; false when that failed.
    using FileOpener = std::function<bool(const QString &path)>;
    static bool openWithDefaultProgram(const QString &path);

    explicit TFormInfoBuku(QWidget *parent = nullptr, FileOpener openFile = openWithDefaultProgram);

    // Fills the window with `book` and shows it (brought to the front when it is already shown). The
    // window keeps copies of what it shows; `book` may go afterwards.
    void ShowBook(const TDetailBook &book);

    QLabel *panelJudul, *panelPenulis, *panelPenerbit, *panelISBN, *panelTahun, *panelKategori;
    QPushButton *btnMLA, *btnCHG, *btnTRB, *btnAPA, *btnHRV, *btnIEE;
    QToolButton *btnClose;

    static constexpr int StyleCount = 6;

private:
    void FormShow(const TDetailBook &book);
    void btnClick(int style);
    QPushButton *styleButton(int style) const;
    QWidget *buildRows();
    QWidget *buildStyleButtons();

    // The remembered citation text of each style: MLA, CHG, TRB, APA, HRV, IEE.
    std::array<QString, StyleCount> citations;
    QString title; // the shown book's, for the name a saved citation is offered
    FileOpener openFile;
};
