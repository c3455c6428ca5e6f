#include "dccustomcontrol.h"

TDCCustomControl::TDCCustomControl(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    SetBorderStyle(bsSingle);
}

void TDCCustomControl::SetBorderStyle(TBorderStyle style)
{
    m_borderStyle = style;
    if (style == bsSingle) {
        setFrameShape(QFrame::StyledPanel);
        setFrameShadow(QFrame::Sunken);
    } else {
        setFrameShape(QFrame::NoFrame);
    }
}

// -- keys ----------------------------------------------------------------------------------

void TDCCustomControl::SetKeyMapping(const QString& name)
{
    if (name == m_keyMapping)
        return;
    m_keyMapping = name;
    // Filled when first needed: the control's own class may not be complete
    // yet while a base constructor runs.
    m_keyListFilled = false;
}

TKeyList& TDCCustomControl::KeyList()
{
    if (!m_keyListFilled)
        FillKeyList();
    return m_keyList;
}

void TDCCustomControl::FillKeyList()
{
    m_keyListFilled = true;
    m_keyList.Clear();
    if (const TKeyMappingProc fill = KeyMappings::Find(*metaObject(), m_keyMapping))
        fill(m_keyList);
    else
        FillBuiltInKeyMapping(m_keyList);
}

bool TDCCustomControl::ExecuteKey(quint16 key, TShiftState shift)
{
    const TKeyData* item = KeyList().Find(key, shift, m_keyState);
    if (!item) {
        m_keyState = 0;
        return false;
    }
    // The state moves on before the command runs, which may open a modal
    // dialog; the command is a copy, as it may change the mapping and with
    // it the list.
    m_keyState = item->nextState;
    if (const TKeyCommand command = item->command) {
        if (QObject* object = KeyCommandObject(item->object))
            command(*object);
    }
    return true;
}
