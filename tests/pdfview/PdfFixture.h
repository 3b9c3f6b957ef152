#pragma once
#include <QByteArray>
#include <QString>
#include <set>
#include <vector>

// Small PDFs for the control tests, written by Qt's PDF writer with an embedded font.
struct FixtureText {
    double X = 72;        // points from the page's left edge
    double Baseline = 72; // points from the page's top edge
    QString Text;
    double FontPoints = 12;
};

struct FixturePage {
    double Width = 612; // points
    double Height = 792;
    std::vector<FixtureText> Texts;
};

QByteArray makeFixturePdf(const std::vector<FixturePage> &pages);

// `count` letter-size pages, each with one line "Page N" near its top.
QByteArray makeNumberedPdf(int count, double width = 612, double height = 792);

// `count` letter-size pages, each with one line "Halaman N" near its top, written by hand; the pages in
// `signedPages` also carry a signature field, a feature the engine refuses.
QByteArray makeSignedPagesPdf(int count, const std::set<int> &signedPages);
