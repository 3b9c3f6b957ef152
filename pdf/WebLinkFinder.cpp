#include "pdf/WebLinkFinder.h"

#include "pdf/TextModel.h"

#include <QChar>
#include <QString>

namespace {

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0xA0;
}
bool isLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// Characters after which a wrapped address goes on on the next line.
bool continuesAcrossBreak(char16_t c) {
    return std::u16string_view(u"/-_?=&#%~+").find(c) != std::u16string_view::npos;
}

struct Token {
    int start;
    int end; // one past the last character
};

std::vector<Token> tokens(const std::u16string &text) {
    std::vector<Token> result;
    const int size = int(text.size());
    int i = 0;
    while (i < size) {
        while (i < size && (isSpace(text[i]) || isLineBreak(text[i])))
            ++i;
        const int start = i;
        while (i < size && !isSpace(text[i])) {
            if (isLineBreak(text[i])) {
                if (i == start || !continuesAcrossBreak(text[i - 1]))
                    break;
                int next = i;
                while (next < size && isLineBreak(text[next]))
                    ++next;
                if (next == size || isSpace(text[next]))
                    break;
                i = next;
                continue;
            }
            ++i;
        }
        if (i > start)
            result.push_back({start, i});
    }
    return result;
}

// Strips enclosing punctuation: leading opening marks and quotes, trailing sentence punctuation and
// closing brackets that have no opening partner inside the address.
void trim(const std::u16string &text, Token &t) {
    while (t.start < t.end &&
           std::u16string_view(u"(<[{\"'").find(text[t.start]) != std::u16string_view::npos)
        ++t.start;
    while (t.end > t.start) {
        const char16_t last = text[t.end - 1];
        if (std::u16string_view(u".,;:!?\"'>").find(last) != std::u16string_view::npos) {
            --t.end;
            continue;
        }
        const char16_t open = last == u')' ? u'(' : last == u']' ? u'[' : last == u'}' ? u'{' : 0;
        if (open && text.find(open, t.start) >= size_t(t.end)) {
            --t.end;
            continue;
        }
        break;
    }
}

std::u16string plainText(const std::u16string &text, const Token &t) {
    std::u16string result;
    for (int i = t.start; i < t.end; ++i)
        if (!isLineBreak(text[i]) && text[i] != WrappedHyphen)
            result += text[i];
    return result;
}

bool isEmail(const QString &s) {
    const qsizetype at = s.indexOf('@');
    if (at <= 0 || at != s.lastIndexOf('@'))
        return false;
    const QString domain = s.mid(at + 1);
    const qsizetype dot = domain.indexOf('.');
    return dot > 0 && dot < domain.size() - 1;
}

std::u16string addressOf(const std::u16string &token) {
    const QString s = QString::fromStdU16String(token);
    const QString lower = s.toLower();
    if ((lower.startsWith("http://") && s.size() > 7) || (lower.startsWith("https://") && s.size() > 8))
        return token;
    if (lower.startsWith("www.") && s.size() > 4 && s.indexOf('.', 4) > 4)
        return u"http://" + token;
    if (isEmail(s))
        return u"mailto:" + token;
    return {};
}

} // namespace

std::vector<WebLink> findWebLinks(const std::u16string &text) {
    std::vector<WebLink> links;
    for (Token t : tokens(text)) {
        trim(text, t);
        if (t.end <= t.start)
            continue;
        std::u16string url = addressOf(plainText(text, t));
        if (!url.empty())
            links.push_back({std::move(url), t.start, t.end - t.start});
    }
    return links;
}
