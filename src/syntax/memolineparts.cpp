#include "memolineparts.h"

// Assign announces one change even when nothing differs: a holder that
// copies a whole part wants to hear of it once, not per value.

TSpecialSymbols::TSpecialSymbols(QObject* parent)
    : TMemoPersistent(parent),
      m_eol(QString(QChar(0x00B6))),
      m_eof(QStringLiteral("_")),
      m_space(QString(QChar(0x00B7))),
      m_tab(QString(QChar(0x00BB)))
{
}

void TSpecialSymbols::SetEOLString(const QString& text)
{
    if (m_eol == text)
        return;
    m_eol = text;
    Changed();
}

void TSpecialSymbols::SetEOFString(const QString& text)
{
    if (m_eof == text)
        return;
    m_eof = text;
    Changed();
}

void TSpecialSymbols::SetSpaceChar(const QString& text)
{
    const QString one = text.left(1);
    if (m_space == one)
        return;
    m_space = one;
    Changed();
}

void TSpecialSymbols::SetTabChar(const QString& text)
{
    const QString one = text.left(1);
    if (m_tab == one)
        return;
    m_tab = one;
    Changed();
}

void TSpecialSymbols::Assign(const TSpecialSymbols& source)
{
    m_eol = source.m_eol;
    m_eof = source.m_eof;
    m_space = source.m_space;
    m_tab = source.m_tab;
    Changed();
}

bool TSpecialSymbols::operator==(const TSpecialSymbols& other) const
{
    return m_eol == other.m_eol && m_eof == other.m_eof && m_space == other.m_space && m_tab == other.m_tab;
}

void TLineSeparator::SetOptions(TSeparatorOptions options)
{
    if (m_options == options)
        return;
    m_options = options;
    Changed();
}

void TLineSeparator::SetPen(const TPen& pen)
{
    if (m_pen == pen)
        return;
    m_pen = pen;
    Changed();
}

void TLineSeparator::Assign(const TLineSeparator& source)
{
    m_options = source.m_options;
    m_pen = source.m_pen;
    Changed();
}

bool TLineSeparator::operator==(const TLineSeparator& other) const
{
    return m_options == other.m_options && m_pen == other.m_pen;
}

TLineHighlight::TLineHighlight(QObject* parent) : TMemoPersistent(parent), m_brush(clNone, TBrush::bsClear) {}

void TLineHighlight::SetPen(const TPen& pen)
{
    if (m_pen == pen)
        return;
    m_pen = pen;
    Changed();
}

void TLineHighlight::SetBrush(const TBrush& brush)
{
    if (m_brush == brush)
        return;
    m_brush = brush;
    Changed();
}

void TLineHighlight::SetVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    Changed();
}

void TLineHighlight::Assign(const TLineHighlight& source)
{
    m_pen = source.m_pen;
    m_brush = source.m_brush;
    m_visible = source.m_visible;
    Changed();
}

bool TLineHighlight::operator==(const TLineHighlight& other) const
{
    return m_pen == other.m_pen && m_brush == other.m_brush && m_visible == other.m_visible;
}
