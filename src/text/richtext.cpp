// RTF and HTML from the attribute runs of a text store. An RTF format is
// "\plain" and the control words of the whole look (\plain\f0\fs20\cf1\cb2\b),
// so that nothing of the format before it leaks in; an HTML run is one
// span. Text goes out in spans between the bytes that need escaping, found
// through a table.

#include "richtext.h"

#include "ansi.h"
#include "filesaver.h"
#include "memosource.h"
#include "services.h"
#include "simpleparser.h"
#include "textcodec.h"

#include <algorithm>

namespace {

// A line's formatted bytes go out when this much is pending.
constexpr int kFlushSize = 1 << 18;

QByteArray hexColor(quint32 rgb)
{
    return QByteArray::number(rgb & 0xffffff, 16).rightJustified(6, '0').prepend('#');
}

quint32 resolved(TColor color)
{
    return Services().ResolveColor(color) & 0xffffff;
}

} // namespace

TRichTextWriter::TRichTextWriter(TCustomMemoSource& source, TFormat format, const TFont& plainFont, TColor plainColor)
    : m_source(source), m_format(format), m_plainFont(plainFont), m_plainColor(plainColor)
{
    m_plainFormat = MakeFormat(plainFont, plainColor);
    TSimpleParser* parser = source.SyntaxParser();
    for (int attr = 0; attr < 256; ++attr) {
        const TFont* font = parser ? parser->GetAttrFont(attr) : nullptr;
        TColor back = plainColor;
        if (parser && parser->GetAttrBackColor(attr, back) && back == TColor(-1))
            back = plainColor;
        m_attrFormats[size_t(attr)] = MakeFormat(font ? *font : plainFont, back);
    }

    if (m_format == rfRtf) {
        m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\r\n{\\fonttbl";
        for (int i = 0; i < m_fonts.size(); ++i)
            m_out += "{\\f" + QByteArray::number(i) + "\\fmodern\\fcharset0 " + Ansi::FromQString(m_fonts[i]) + ";}";
        m_out += "}\r\n{\\colortbl;";
        for (quint32 rgb : m_colors)
            m_out += "\\red" + QByteArray::number((rgb >> 16) & 0xff) + "\\green" +
                     QByteArray::number((rgb >> 8) & 0xff) + "\\blue" + QByteArray::number(rgb & 0xff) + ';';
        m_out += "}\r\n\\pard\\plain ";
    } else {
        m_out += "<pre style=\"font-family:'" + m_plainFont.Name().toHtmlEscaped().toUtf8() +
                 "',monospace;font-size:" + QByteArray::number(m_plainFont.Size()) +
                 "pt;background-color:" + hexColor(resolved(plainColor)) + "\">";
    }
}

int TRichTextWriter::FontIndex(const QString& name)
{
    int index = int(m_fonts.indexOf(name));
    if (index < 0) {
        index = int(m_fonts.size());
        m_fonts.append(name);
    }
    return index;
}

int TRichTextWriter::ColorIndex(TColor color)
{
    // RTF colour 0 is the reader's default ("auto"); the table starts at 1.
    const quint32 rgb = resolved(color);
    const auto it = std::find(m_colors.begin(), m_colors.end(), rgb);
    if (it != m_colors.end())
        return int(it - m_colors.begin()) + 1;
    m_colors.push_back(rgb);
    return int(m_colors.size());
}

TRichTextWriter::TRunFormat TRichTextWriter::MakeFormat(const TFont& font, TColor back)
{
    TRunFormat result;
    const TFont::TFontStyles style = font.Style();
    if (m_format == rfRtf) {
        result.open = "\\plain\\f" + QByteArray::number(FontIndex(font.Name())) + "\\fs" +
                      QByteArray::number(std::max(1, font.Size()) * 2) + "\\cf" +
                      QByteArray::number(ColorIndex(font.Color()));
        result.back = ColorIndex(back);
        result.open += "\\cb" + QByteArray::number(result.back);
        result.marksBlanks = style.testFlag(TFont::fsUnderline) || style.testFlag(TFont::fsStrikeOut);
        if (style.testFlag(TFont::fsBold))
            result.open += "\\b";
        if (style.testFlag(TFont::fsItalic))
            result.open += "\\i";
        if (style.testFlag(TFont::fsUnderline))
            result.open += "\\ul";
        if (style.testFlag(TFont::fsStrikeOut))
            result.open += "\\strike";
        result.open += ' ';
        return result;
    }
    QByteArray css = "color:" + hexColor(resolved(font.Color()));
    if (back != m_plainColor)
        css += ";background-color:" + hexColor(resolved(back));
    if (font.Name() != m_plainFont.Name())
        css += ";font-family:'" + font.Name().toHtmlEscaped().toUtf8() + '\'';
    if (style.testFlag(TFont::fsBold))
        css += ";font-weight:bold";
    if (style.testFlag(TFont::fsItalic))
        css += ";font-style:italic";
    if (style.testFlag(TFont::fsUnderline) || style.testFlag(TFont::fsStrikeOut))
        css += QByteArray(";text-decoration:") + (style.testFlag(TFont::fsUnderline) ? "underline" : "") +
               (style.testFlag(TFont::fsStrikeOut) ? " line-through" : "");
    result.open = "<span style=\"" + css + "\">";
    result.close = "</span>";
    return result;
}

// The bytes RTF takes as they are: printable ASCII but its three syntax
// characters.
static const std::array<bool, 256> kRtfPlain = [] {
    std::array<bool, 256> table{};
    for (int c = 32; c < 128; ++c)
        table[size_t(c)] = c != '\\' && c != '{' && c != '}';
    return table;
}();

void TRichTextWriter::WriteCharacters(const QString& text)
{
    static const char digits[] = "0123456789abcdef";
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (m_format == rfHtml) {
            if (u == '&') {
                m_out += "&amp;";
            } else if (u == '<') {
                m_out += "&lt;";
            } else if (u == '>') {
                m_out += "&gt;";
            } else if (u < 128) {
                m_out += char(u);
            } else {
                const bool pair = QChar::isHighSurrogate(u) && i + 1 < n && text[i + 1].isLowSurrogate();
                m_out += text.mid(i, pair ? 2 : 1).toUtf8();
                i += pair ? 1 : 0;
            }
            continue;
        }
        uchar byte = 0;
        if (u == '\\' || u == '{' || u == '}') {
            m_out += '\\';
            m_out += char(u);
        } else if (u == '\t') {
            m_out += "\\tab ";
        } else if (u >= 32 && u < 128) {
            m_out += char(u);
        } else if (Ansi::FromUnicode(u, byte)) {
            const char escape[4] = {'\\', '\'', digits[byte >> 4], digits[byte & 15]};
            m_out.append(escape, 4);
        } else {
            // RTF numbers are signed 16-bit; a character beyond U+FFFF goes
            // as its two surrogates.
            m_out += "\\u" + QByteArray::number(int(qint16(u))) + '?';
        }
    }
}

void TRichTextWriter::WriteText(const char* data, int length)
{
    if (m_source.Encoding() != MemoTypes::teWindows1252) {
        WriteCharacters(TextCodec::Decode(data, length, m_source.Encoding()));
        return;
    }
    if (m_format == rfRtf) {
        const char* end = data + length;
        while (data < end) {
            const char* plain = data;
            while (plain < end && kRtfPlain[uchar(*plain)])
                ++plain;
            m_out.append(data, plain - data);
            if (plain == end)
                break;
            const uchar c = uchar(*plain);
            if (c == '\\' || c == '{' || c == '}') {
                m_out += '\\';
                m_out += char(c);
            } else if (c == '\t') {
                m_out += "\\tab ";
            } else {
                static const char digits[] = "0123456789abcdef";
                const char escape[4] = {'\\', '\'', digits[c >> 4], digits[c & 15]};
                m_out.append(escape, 4);
            }
            data = plain + 1;
        }
        return;
    }
    for (int i = 0; i < length; ++i) {
        const uchar c = uchar(data[i]);
        if (c == '&') {
            m_out += "&amp;";
        } else if (c == '<') {
            m_out += "&lt;";
        } else if (c == '>') {
            m_out += "&gt;";
        } else if (c < 128) {
            m_out += char(c);
        } else {
            m_out += QString(QChar(Ansi::ToUnicode(c))).toUtf8();
        }
    }
}

void TRichTextWriter::AddLine(int line, int left, int right)
{
    if (!m_firstLine)
        m_out += m_format == rfRtf ? "\\par\r\n" : "\n";
    m_firstLine = false;
    const QByteArray text = m_source.LineText(line);
    int attrCount = 0;
    const uchar* attrs = m_source.LineAttributes(line, &attrCount);
    const int end = right < 0 ? int(text.size()) : std::min<int>(right, int(text.size()));
    int start = std::max(0, left);
    while (start < end) {
        const int attr = attrs && start < attrCount ? attrs[start] : -1;
        int stop = start + 1;
        while (stop < end && (attrs && stop < attrCount ? attrs[stop] : -1) == attr)
            ++stop;
        const TRunFormat& format = attr < 0 ? m_plainFormat : m_attrFormats[size_t(attr)];
        if (m_format == rfHtml) {
            m_out += format.open;
            WriteText(text.constData() + start, stop - start);
            m_out += format.close;
        } else {
            if (m_current != &format && (!m_current || m_current->open != format.open)) {
                // Blanks look alike in any format of the same background
                // that neither underlines nor strikes out.
                const bool blanks = std::all_of(text.constData() + start, text.constData() + stop,
                                                [](char c) { return c == ' '; });
                if (!(blanks && m_current && m_current->back == format.back && !m_current->marksBlanks &&
                      !format.marksBlanks)) {
                    m_out += format.open;
                    m_current = &format;
                }
            }
            WriteText(text.constData() + start, stop - start);
        }
        start = stop;
    }
}

void TRichTextWriter::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_out += m_format == rfRtf ? "\\par\r\n}\r\n" : "</pre>";
}

bool TRichTextWriter::WriteDocument(TCustomMemoSource& source, const TFont& plainFont, TColor plainColor,
                                    QIODevice& device, QString* error)
{
    TRichTextWriter writer(source, rfRtf, plainFont, plainColor);
    auto flush = [&] {
        const QByteArray& out = writer.Buffer();
        if (device.write(out) != out.size()) {
            if (error)
                *error = device.errorString();
            return false;
        }
        writer.Buffer().truncate(0);
        return true;
    };
    for (int line = 0; line < source.LineCount(); ++line) {
        writer.AddLine(line);
        if (writer.Buffer().size() >= kFlushSize && !flush())
            return false;
    }
    writer.Finish();
    return flush();
}

bool TRichTextWriter::ExportFile(TCustomMemoSource& source, const TFont& plainFont, TColor plainColor,
                                 const QString& path, QString* error)
{
    return SaveFileSafely(
        TSaveTarget{path, {}},
        [&](QIODevice& device, QString* reason) { return WriteDocument(source, plainFont, plainColor, device, reason); },
        error);
}

QByteArray TRichTextWriter::Range(TCustomMemoSource& source, TFormat format, const TFont& plainFont,
                                  TColor plainColor, int firstLine, int firstColumn, int lastLine, int lastColumn)
{
    TRichTextWriter writer(source, format, plainFont, plainColor);
    for (int line = firstLine; line <= lastLine; ++line)
        writer.AddLine(line, line == firstLine ? firstColumn : 0, line == lastLine ? lastColumn : -1);
    writer.Finish();
    return writer.Buffer();
}
