// A control's own caret, selection and top line, parked in a shared text
// store as positions the store shifts with every edit.

#include "parkedplace.h"

#include "memosource.h"

#include <algorithm>

TParkedPlace::~TParkedPlace()
{
    Release();
}

void TParkedPlace::Park(TCustomMemoSource& source, int topLine)
{
    Park(source, source.Caret(), topLine);
    m_mode = source.SelectionMode();
    m_begin = source.AddPosition(source.BlockBegin());
    m_end = source.AddPosition(source.BlockEnd());
}

void TParkedPlace::Park(TCustomMemoSource& source, TTextPos caret, int topLine)
{
    Release();
    m_source = &source;
    m_caret = source.AddPosition(caret);
    m_top = source.AddPosition({topLine, 0});
    m_mode = smNone;
}

void TParkedPlace::Restore()
{
    if (!Parked())
        return;
    if (TCustomMemoSource* source = m_source) {
        const int last = std::max(0, source->LineCount() - 1);
        auto onText = [last](TTextPos pos) { return TTextPos{std::min(pos.line, last), pos.column}; };
        TCustomMemoSource::TUpdate update(*source, Reason::kCaretMove);
        source->MoveCaretTo(onText(m_caret->Pos()));
        if (m_mode != smNone && m_begin && m_end)
            source->SetSelection(onText(m_begin->Pos()), onText(m_end->Pos()), m_mode);
        else
            source->ClearSelection();
    }
    Release();
}

void TParkedPlace::Drop()
{
    Release();
}

TTextPos TParkedPlace::Caret() const
{
    return m_caret && m_source ? m_caret->Pos() : TTextPos{};
}

int TParkedPlace::TopLine() const
{
    return m_top && m_source ? m_top->Line() : 0;
}

void TParkedPlace::SetTopLine(int line)
{
    if (m_top && m_source)
        m_top->SetPos({line, 0});
}

void TParkedPlace::Release()
{
    // A store that went took its positions with it.
    if (TCustomMemoSource* source = m_source) {
        for (TPosition* position : {m_caret, m_begin, m_end, m_top}) {
            if (position)
                source->RemovePosition(position);
        }
    }
    m_source = nullptr;
    m_caret = m_begin = m_end = m_top = nullptr;
    m_mode = smNone;
}
