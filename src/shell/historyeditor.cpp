#include "historyeditor.h"

#include "services.h"
#include "settingsstore.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

TDCHistoryEditor::TDCHistoryEditor(const QString& ownerName, const QString& name, QWidget* parent)
    : QComboBox(parent), m_historyName(ownerName + name)
{
    if (m_historyName.isEmpty())
        m_historyName = QStringLiteral("Default");
    setObjectName(name);
    setEditable(true);
    // The list changes only by the rules above, and what is typed stays as
    // typed: no entry is completed into the field.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxCount(kMaxEntries);
    LoadHistory();
    SetText(QString());
}

TDCHistoryEditor::~TDCHistoryEditor()
{
    SaveHistory();
}

QStringList TDCHistoryEditor::History() const
{
    QStringList entries;
    for (int i = 0; i < count(); ++i)
        entries.append(itemText(i));
    return entries;
}

void TDCHistoryEditor::SetText(const QString& text)
{
    setCurrentIndex(-1);
    setEditText(text);
}

void TDCHistoryEditor::AddText()
{
    QString text = currentText();
    // An entry is one line of the stored text.
    text.remove(u'\r').replace(u'\n', u' ');
    if (text.isEmpty() || m_reverted)
        return;
    for (int i = count() - 1; i >= 0; --i) {
        if (itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            removeItem(i);
    }
    while (count() >= kMaxEntries)
        removeItem(count() - 1);
    insertItem(0, text);
    // The field keeps the text as typed (the list may have held it in
    // another case).
    SetText(text);
}

void TDCHistoryEditor::LoadHistory()
{
    clear();
    const QString stored = Services().Settings().ReadString(kKey, m_historyName, QString());
    QStringList entries;
    for (QString entry : stored.split(u'\n')) {
        entry.remove(u'\r');
        if (entry.isEmpty())
            continue;
        bool seen = false;
        for (const QString& kept : entries)
            seen = seen || kept.compare(entry, Qt::CaseInsensitive) == 0;
        if (!seen && entries.size() < kMaxEntries)
            entries.append(entry);
    }
    addItems(entries);
}

void TDCHistoryEditor::SaveHistory() const
{
    Services().Settings().WriteString(kKey, m_historyName, History().join(u'\n'));
}

void TDCHistoryEditor::RevertHistory()
{
    const QString text = currentText();
    LoadHistory();
    SetText(text);
    m_reverted = true;
}

void TDCHistoryEditor::showPopup()
{
    m_popupVisible = true;
    QComboBox::showPopup();
}

void TDCHistoryEditor::hidePopup()
{
    QComboBox::hidePopup();
    m_popupVisible = false;
}

void TDCHistoryEditor::keyPressEvent(QKeyEvent* event)
{
    // With the list open its own view takes the keys: Enter there only
    // closes it.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !m_popupVisible)
        AddText();
    // Escape with the list closed is nothing to the field: it goes on to the
    // dialog, which takes it as Cancel.
    if (event->key() == Qt::Key_Escape && !m_popupVisible) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TDCHistoryEditor::focusOutEvent(QFocusEvent* event)
{
    // Leaving for another field or button of the dialog; not the list
    // opening, nor the window closing or losing the focus.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
        AddText();
    QComboBox::focusOutEvent(event);
}
