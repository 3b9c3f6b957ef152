// Selection, highlight and web links of the page view control.
#include "pdfview/PdfControl.h"

#include "pdfview/PdfControlMetrics.h"
#include "pdfview/PdfTextBoundaries.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QUrl>

#include <algorithm>
#include <cstdlib>

using namespace PdfControlMetrics;

namespace {

bool containsRect(const std::vector<QRect> &rects, const QRect &r) {
    return std::find(rects.begin(), rects.end(), r) != rects.end();
}

} // namespace

void TPdfControl::InvalidateDifference(const std::vector<QRect> &before, const std::vector<QRect> &after) {
    for (const QRect &r : before)
        if (!containsRect(after, r))
            update(r);
    for (const QRect &r : after)
        if (!containsRect(before, r))
            update(r);
}

// ---------------------------------------------------------------------------------------------- selection

int TPdfControl::GetSelStart() const {
    if (!FSelectionActive || !IsPageValid())
        return 0;
    return std::min(FSelStartCharIndex, FSelStopCharIndex);
}

int TPdfControl::GetSelLength() const {
    if (!FSelectionActive || !IsPageValid())
        return 0;
    return std::abs(FSelStopCharIndex - FSelStartCharIndex) + 1;
}

QString TPdfControl::GetSelText() const {
    const TPdfDocumentLock lock(*FDocument);
    const int length = GetSelLength();
    return length > 0 ? GetCurrentPage()->ReadText(GetSelStart(), length) : QString();
}

std::vector<QRect> TPdfControl::SelectionRects() const {
    // The rectangles of a range are the engine's answer to the count just asked for.
    const TPdfDocumentLock lock(*FDocument);
    std::vector<TPdfRect> rects;
    const int length = GetSelLength();
    if (length > 0) {
        TPdfPage *page = GetCurrentPage();
        const int count = page->GetTextRectCount(GetSelStart(), length);
        for (int i = 0; i < count; ++i)
            rects.push_back(page->GetTextRect(i));
    }
    return ToDeviceRects(rects);
}

void TPdfControl::SetSelection(bool Active, int StartIndex, int StopIndex) {
    Active = Active && StartIndex >= 0 && StopIndex >= 0;
    if (Active == FSelectionActive && StartIndex == FSelStartCharIndex && StopIndex == FSelStopCharIndex)
        return;
    const std::vector<QRect> before = SelectionRects();
    FSelectionActive = Active;
    FSelStartCharIndex = StartIndex;
    FSelStopCharIndex = StopIndex;
    InvalidateDifference(before, SelectionRects());
}

void TPdfControl::ClearSelection() {
    SetSelection(false, -1, -1);
}

void TPdfControl::SelectText(int CharIndex, int Count) {
    const TPdfDocumentLock lock(*FDocument);
    TPdfPage *page = GetCurrentPage();
    if (Count == 0 || !page) {
        ClearSelection();
        return;
    }
    const int charCount = page->GetCharCount();
    if (Count == -1) {
        CharIndex = 0;
        Count = charCount;
    }
    if (CharIndex >= 0)
        Count = std::min(Count, charCount - CharIndex);
    if (Count <= 0 || CharIndex < 0) {
        ClearSelection();
        return;
    }
    SetSelection(true, CharIndex, CharIndex + Count - 1);
}

void TPdfControl::SelectAll() {
    SelectText(0, -1);
}

std::u16string TPdfControl::PageText() const {
    const TPdfDocumentLock lock(*FDocument);
    TPdfPage *page = GetCurrentPage();
    return page ? page->ReadText(0, page->GetCharCount()).toStdU16String() : std::u16string();
}

bool TPdfControl::SelectWord(int CharIndex) {
    ClearSelection();
    TPdfTextRange word;
    if (!findWordAt(PageText(), CharIndex, word))
        return false;
    SetSelection(true, word.First, word.Last);
    return true;
}

bool TPdfControl::SelectLine(int CharIndex) {
    ClearSelection();
    TPdfTextRange line;
    if (!findLineAt(PageText(), CharIndex, line))
        return false;
    SetSelection(true, line.First, line.Last);
    return true;
}

void TPdfControl::CopyToClipboard() const {
    QApplication::clipboard()->setText(GetSelText());
}

QString TPdfControl::GetTextInRect(const QRect &R) const {
    const TPdfDocumentLock lock(*FDocument);
    TPdfPage *page = GetCurrentPage();
    return page ? page->GetTextAt(DeviceToPage(R)) : QString();
}

int TPdfControl::CharIndexAt(int X, int Y, double Tolerance) const {
    const TPdfDocumentLock lock(*FDocument);
    TPdfPage *page = GetCurrentPage();
    if (!page)
        return -1;
    const TPdfPoint pt = DeviceToPage(X, Y);
    return page->GetCharIndexAt(pt.X, pt.Y, Tolerance, Tolerance);
}

bool TPdfControl::IsInCharBox(const QPoint &pt, int CharIndex) const {
    const TPdfDocumentLock lock(*FDocument);
    return PageToDevice(GetCurrentPage()->GetCharBox(CharIndex)).contains(pt);
}

bool TPdfControl::SetSelStopCharIndex(int X, int Y) {
    const TPdfDocumentLock lock(*FDocument); // the index found and its box are of one text model
    const int index = CharIndexAt(X, Y, NearestCharTolerance);
    if (index < 0)
        return false;
    bool active = true;
    if (index == FSelStartCharIndex)
        active = IsInCharBox(FMouseDownPt, index) != IsInCharBox(QPoint(X, Y), index);
    SetSelection(active, FSelStartCharIndex, index);
    return true;
}

// ---------------------------------------------------------------------------------------------- highlight

void TPdfControl::HightlightText(const QString &SearchText, bool MatchCase, bool MatchWholeWord) {
    FHighlightText = SearchText;
    FHighlightMatchCase = MatchCase;
    FHighlightMatchWholeWord = MatchWholeWord;
    UpdateHighlightRects();
}

void TPdfControl::ClearHighlightText() {
    FHighlightText.clear();
    UpdateHighlightRects();
}

std::vector<QRect> TPdfControl::HighlightRects() const {
    return ToDeviceRects(FHighlightTextRects);
}

void TPdfControl::UpdateHighlightRects() {
    const std::vector<QRect> before = HighlightRects();
    FHighlightTextRects = FindHighlightRects();
    InvalidateDifference(before, HighlightRects());
}

std::vector<TPdfRect> TPdfControl::FindHighlightRects() const {
    // The search's steps and each hit's rectangles are engine state of the page: one sequence.
    const TPdfDocumentLock lock(*FDocument);
    std::vector<TPdfRect> rects;
    TPdfPage *page = GetCurrentPage();
    if (!page || FHighlightText.isEmpty())
        return rects;
    if (page->BeginFind(FHighlightText, FHighlightMatchCase, FHighlightMatchWholeWord, false)) {
        int charIndex = 0, count = 0;
        while (page->FindNext(charIndex, count)) {
            const int rectCount = page->GetTextRectCount(charIndex, count);
            for (int i = 0; i < rectCount; ++i)
                rects.push_back(page->GetTextRect(i));
        }
    }
    page->EndFind();
    return rects;
}

// ---------------------------------------------------------------------------------------------- web links

const std::vector<std::vector<TPdfRect>> &TPdfControl::WebLinksRects() const {
    if (!FWebLinksRects) {
        const TPdfDocumentLock lock(*FDocument);
        std::vector<std::vector<TPdfRect>> links;
        if (TPdfPage *page = GetCurrentPage()) {
            const int count = page->GetWebLinkCount();
            for (int link = 0; link < count; ++link) {
                std::vector<TPdfRect> rects;
                const int rectCount = page->GetWebLinkRectCount(link);
                for (int i = 0; i < rectCount; ++i)
                    rects.push_back(page->GetWebLinkRect(link, i));
                links.push_back(std::move(rects));
            }
        }
        FWebLinksRects = std::move(links);
    }
    return *FWebLinksRects;
}

bool TPdfControl::IsWebLinkAt(int X, int Y) const {
    QString url;
    return IsWebLinkAt(X, Y, url);
}

bool TPdfControl::IsWebLinkAt(int X, int Y, QString &Url) const {
    // A link's index stays the page's until its address is read.
    const TPdfDocumentLock lock(*FDocument);
    const std::vector<std::vector<TPdfRect>> &links = WebLinksRects();
    for (std::size_t link = 0; link < links.size(); ++link)
        for (const TPdfRect &r : links[link])
            if (PageToDevice(r).contains(X, Y)) {
                Url = GetCurrentPage()->GetWebLinkURL(static_cast<int>(link));
                return true;
            }
    Url.clear();
    return false;
}

bool isOpenableWebLink(const QString &Url) {
    const QUrl url(Url, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                             scheme == QLatin1String("mailto"));
}

void openWebLinkInBrowser(TPdfControl *, const QString &Url) {
    if (isOpenableWebLink(Url))
        QDesktopServices::openUrl(QUrl(Url, QUrl::StrictMode));
}
