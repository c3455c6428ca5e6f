#include "urls.h"

#include "ansi.h"

#include <cctype>
#include <cstring>

namespace Urls {
namespace {

bool isAlnum(uchar c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isUrlChar(uchar c)
{
    if (isAlnum(c))
        return true;
    return c != 0 && std::strchr("-._~:/?#[]@!$&*+,;=%", c) != nullptr;
}

bool isMailLocalChar(uchar c)
{
    return isAlnum(c) || c == '.' || c == '_' || c == '%' || c == '+' || c == '-';
}

bool isHostChar(uchar c)
{
    return isAlnum(c) || c == '.' || c == '-';
}

bool startsWithNoCase(std::string_view text, size_t pos, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    return pos + n <= text.size() && Ansi::SameTextAscii(text.data() + pos, prefix, int(n));
}

// Punctuation that ends a sentence is not part of the address before it.
size_t trimTail(std::string_view text, size_t start, size_t end)
{
    while (end > start && std::strchr(".,;:!?)]'", text[end - 1]))
        --end;
    return end;
}

constexpr const char* kSchemes[] = {"http://", "https://", "ftp://", "mailto:", "www.", "ftp."};

// Length of an e-mail address starting at pos, or 0.
size_t emailAt(std::string_view text, size_t pos)
{
    size_t at = pos;
    while (at < text.size() && isMailLocalChar(uchar(text[at])))
        ++at;
    if (at == pos || at >= text.size() || text[at] != '@')
        return 0;
    size_t end = at + 1;
    while (end < text.size() && isHostChar(uchar(text[end])))
        ++end;
    end = trimTail(text, at + 1, end);
    const std::string_view host = text.substr(at + 1, end - at - 1);
    const size_t dot = host.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || host.size() - dot - 1 < 2)
        return 0;
    return end - pos;
}

// A query field's name as a mail program reads it: percent escapes decoded,
// blanks around it dropped, lower case.
QByteArray fieldName(const QByteArray& field)
{
    const qsizetype equals = field.indexOf('=');
    return QByteArray::fromPercentEncoding(equals < 0 ? field : field.left(equals)).trimmed().toLower();
}

} // namespace

std::vector<TUrlRun> Find(std::string_view text)
{
    std::vector<TUrlRun> runs;
    size_t pos = 0;
    while (pos < text.size()) {
        const uchar c = uchar(text[pos]);
        if (!isAlnum(c) || (pos > 0 && (isAlnum(uchar(text[pos - 1])) || isMailLocalChar(uchar(text[pos - 1]))))) {
            ++pos;
            continue;
        }
        size_t end = 0;
        for (const char* scheme : kSchemes) {
            if (startsWithNoCase(text, pos, scheme)) {
                size_t e = pos + std::strlen(scheme);
                while (e < text.size() && isUrlChar(uchar(text[e])))
                    ++e;
                e = trimTail(text, pos, e);
                if (e > pos + std::strlen(scheme))
                    end = e;
                break;
            }
        }
        if (!end) {
            if (size_t length = emailAt(text, pos))
                end = pos + length;
        }
        if (end) {
            runs.push_back({int(pos), int(end - pos)});
            pos = end;
        } else {
            while (pos < text.size() && isMailLocalChar(uchar(text[pos])))
                ++pos;
        }
    }
    return runs;
}

bool At(std::string_view text, int column, TUrlRun& run)
{
    for (const TUrlRun& candidate : Find(text)) {
        if (column >= candidate.start && column < candidate.start + candidate.length) {
            run = candidate;
            return true;
        }
    }
    return false;
}

bool IsBareEmail(const QByteArray& url)
{
    const std::string_view text(url.constData(), size_t(url.size()));
    return !startsWithNoCase(text, 0, "mailto:") && emailAt(text, 0) == text.size();
}

QByteArray ToOpenable(const QByteArray& url)
{
    if (IsBareEmail(url))
        return "mailto:" + url;
    const std::string_view text(url.constData(), size_t(url.size()));
    if (startsWithNoCase(text, 0, "www."))
        return "http://" + url;
    if (startsWithNoCase(text, 0, "ftp."))
        return "ftp://" + url;
    return WithoutAttachments(url);
}

QByteArray WithoutAttachments(const QByteArray& url)
{
    // Text in a document must not make a mail program attach a local file
    // to a message the user then sends without looking.
    const std::string_view text(url.constData(), size_t(url.size()));
    const qsizetype query = url.indexOf('?');
    if (!startsWithNoCase(text, 0, "mailto:") || query < 0)
        return url;
    // Fields end at '&' and also at ';', which some mail programs take as a
    // separator: a field that either reading sees is checked. Each kept field
    // keeps the separator before it, the first kept one none.
    QByteArray fields;
    bool anyKept = false;
    char separator = 0;
    for (qsizetype start = query + 1; start <= url.size();) {
        qsizetype end = start;
        while (end < url.size() && url[end] != '&' && url[end] != ';')
            ++end;
        const QByteArray field = url.mid(start, end - start);
        if (!fieldName(field).startsWith("attach")) {
            if (anyKept)
                fields += separator;
            fields += field;
            anyKept = true;
        }
        if (end < url.size())
            separator = url[end];
        start = end + 1;
    }
    const QByteArray address = url.left(query);
    return anyKept ? address + '?' + fields : address;
}

bool IsSafeToOpen(const QByteArray& url)
{
    const std::string_view text(url.constData(), size_t(url.size()));
    for (const char* scheme : {"http://", "https://", "ftp://", "mailto:"}) {
        if (startsWithNoCase(text, 0, scheme))
            return text.size() > std::strlen(scheme);
    }
    return false;
}

} // namespace Urls
