// The hint timer, the hint and list windows at the caret, and the insertion
// of the item chosen. The control reports key presses, clicks and typed
// characters here from its own key and mouse handling; everything else
// (focus, a new text store, the window moving) closes what is shown.

#include "memohints.h"

#include "ansi.h"
#include "custommemo.h"
#include "memosource.h"
#include "popupwindows.h"
#include "textcodec.h"

#include <QEvent>

#include <algorithm>

TMemoHints::TMemoHints(TCustomDCMemo& memo) : m_memo(memo)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDefaultDelay);
    connect(&m_timer, &QTimer::timeout, this, [this] { Expired(); });
    // Owned by the control as its child windows.
    m_hint = new TPopupHint(&memo);
    m_list = new TPopupListBox(&memo);
    m_list->OnChoose = [this](int index) { Choose(index); };
}

TMemoHints::~TMemoHints()
{
    WatchWindow(false);
}

bool TMemoHints::ListShowing() const
{
    return m_list->isVisible();
}

bool TMemoHints::HintShowing() const
{
    return m_hint->isVisible();
}

void TMemoHints::ExpireTimer()
{
    if (m_timer.isActive())
        Expired();
}

void TMemoHints::KeyOrClick()
{
    m_timer.stop();
    if (m_hint->AutoHide())
        m_hint->hide();
}

void TMemoHints::BeforeChar(uchar ch)
{
    if (ch == '.' && ListShowing())
        CloseList();
}

void TMemoHints::CharTyped(uchar ch)
{
    TCustomMemoSource* source = m_memo.MemoSource();
    if (ch <= 32 || !m_memo.OnHintPopup || ListShowing() || !source)
        return;
    m_remembered = source->Caret();
    m_timer.start();
}

void TMemoHints::Expired()
{
    m_timer.stop();
    TCustomMemoSource* source = m_memo.MemoSource();
    if (!source || !m_memo.OnHintPopup || source->Caret() != m_remembered)
        return;
    m_items.Clear();
    int popupType = 0;
    // The control's own answer, which a handler may leave standing.
    bool allowPopup = true;
    m_memo.OnHintPopup(m_memo, m_items, popupType, allowPopup);
    // The handler may have moved the caret or closed the editor's window.
    if (!allowPopup || m_items.Count() == 0 || !m_memo.isVisible() || source != m_memo.MemoSource()
        || source->Caret() != m_remembered)
        return;
    if (popupType == 1)
        ShowList();
    else
        ShowHint(m_items.Get(0));
}

QRect TMemoHints::CaretRowOnScreen() const
{
    QWidget* viewport = m_memo.viewport();
    const QRect caret = m_memo.CaretRect();
    // A caret out of sight (scrolled away, hidden) puts the row at the
    // nearest edge of the text area.
    const QRect area = viewport->rect();
    const int x = std::clamp(caret.left(), area.left(), area.right());
    const int y = std::clamp(caret.top(), area.top(), std::max(area.top(), area.bottom() - caret.height() + 1));
    return QRect(viewport->mapToGlobal(QPoint(x, y)), QSize(std::max(1, caret.width()), caret.height()));
}

TTextEncoding TMemoHints::Encoding() const
{
    const TCustomMemoSource* source = m_memo.MemoSource();
    return source ? source->Encoding() : MemoTypes::teWindows1252;
}

void TMemoHints::ShowHint(const QByteArray& text)
{
    // At the caret's x, one row below the caret.
    const QRect row = CaretRowOnScreen();
    m_hint->ActivateHint(QPoint(row.left(), row.top() + m_memo.LineHeight()), TextCodec::Decode(text, Encoding()));
}

void TMemoHints::ShowList()
{
    std::vector<QByteArray> items;
    items.reserve(size_t(m_items.Count()));
    for (int i = 0; i < m_items.Count(); ++i)
        items.push_back(m_items.Get(i));
    m_list->Popup(items, CaretRowOnScreen(), Encoding());
    WatchWindow(true);
    Follow();
}

bool TMemoHints::TypedWord(QByteArray& word) const
{
    const TCustomMemoSource* source = m_memo.MemoSource();
    if (!source)
        return false;
    const TTextPos caret = source->Caret();
    if (caret.line != m_remembered.line || caret.column < m_remembered.column)
        return false;
    // Past the line's end the word stops at the end.
    word = source->LineText(caret.line).mid(m_remembered.column, caret.column - m_remembered.column);
    return true;
}

void TMemoHints::Follow()
{
    if (!ListShowing())
        return;
    QByteArray word;
    if (!TypedWord(word)) {
        CloseList();
        return;
    }
    if (m_memo.OnFindStringInPopup) {
        bool found = false;
        int index = -1;
        m_memo.OnFindStringInPopup(m_memo, m_items, word, found, index);
        m_list->SelectIndex(found ? index : -1);
        return;
    }
    m_list->SelectPrefix(word);
}

bool TMemoHints::ListKey(quint16 key, TShiftState shift)
{
    if (!ListShowing() || (shift & (ssCtrl | ssAlt)))
        return false;
    switch (key) {
    case Vk::Up: m_list->MoveSelection(-1); return true;
    case Vk::Down: m_list->MoveSelection(1); return true;
    case Vk::Prior: m_list->MoveSelection(-m_list->PageRows()); return true;
    case Vk::Next: m_list->MoveSelection(m_list->PageRows()); return true;
    case Vk::Escape: CloseList(); return true;
    case Vk::Return:
    case Vk::Tab:
        if (shift != 0)
            return false;
        // With nothing selected the list closes and the key does what it
        // does in the text.
        if (m_list->Selected() < 0) {
            CloseList();
            return false;
        }
        Choose(m_list->Selected());
        return true;
    default: return false;
    }
}

void TMemoHints::CloseList()
{
    WatchWindow(false);
    m_list->hide();
}

void TMemoHints::CloseAll()
{
    m_timer.stop();
    CloseList();
    m_hint->hide();
}

void TMemoHints::Choose(int index)
{
    QByteArray word;
    const bool inWord = TypedWord(word);
    const QByteArray item = index >= 0 && index < m_items.Count() ? m_items.Get(index) : QByteArray();
    CloseList();
    TCustomMemoSource* source = m_memo.MemoSource();
    // Only the word typed since the list was asked for is replaced: with the
    // caret gone elsewhere nothing is deleted.
    if (!inWord || index < 0 || index >= m_items.Count() || !source || source->ReadOnly()
        || source->IsLineReadOnly(m_remembered.line))
        return;
    QByteArray text = item;
    if (m_memo.OnHintInsert)
        m_memo.OnHintInsert(m_memo, text);
    if (!TypedWord(word))
        return;

    // One operation and one undo step: the word selected and replaced, the
    // caret behind the item.
    const TTextPos from = m_remembered;
    const TTextPos to{from.line, from.column + int(word.size())};
    source->BeginCompound();
    {
        TCustomMemoSource::TUpdate update(*source, Reason::kReplaceSelection);
        if (to.column > from.column) {
            source->SetSelection(from, to, smStream);
            source->ReplaceSelection(text);
        } else {
            source->MoveCaretTo(from);
            source->InsertText(text);
        }
        source->ClearSelection();
    }
    source->EndCompound();
}

void TMemoHints::WatchWindow(bool watch)
{
    if (m_watched)
        m_watched->removeEventFilter(this);
    m_watched = watch ? m_memo.window() : nullptr;
    if (m_watched)
        m_watched->installEventFilter(this);
}

bool TMemoHints::eventFilter(QObject* watched, QEvent* event)
{
    // The list stays at the caret: a window that moves, changes size or
    // goes away takes it down.
    if (watched == m_watched) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Hide:
        case QEvent::WindowStateChange: CloseAll(); break;
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}
