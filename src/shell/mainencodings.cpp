// The main window's encoding commands: the File menu's "Reopen with
// Encoding" and "Save with Encoding" submenus and the status bar's encoding
// panel. The work itself is in encodingcommands.cpp.

#include "mainform.h"

#include "diskwatch.h"
#include "encodingcommands.h"
#include "memosource.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

void TMainForm::AddEncodingMenus(QMenu* file)
{
    QMenu* reopen = AddMenu(file, QStringLiteral("FileItemsReopenEncoding"), QStringLiteral("Reopen with Encoding"));
    QMenu* save = AddMenu(file, QStringLiteral("FileItemsSaveEncoding"), QStringLiteral("Save with Encoding"));
    for (int tag = 0; tag < int(EncodingCommands::kChoices.size()); ++tag) {
        const EncodingCommands::TChoiceItem& item = EncodingCommands::kChoices[size_t(tag)];
        const QString caption = QString::fromLatin1(item.caption);
        QAction* again = AddItem(reopen, QStringLiteral("FileItemsReopen") + item.name, caption, nullptr);
        connect(again, &QAction::triggered, this, [this, tag] { FileItemsReopenEncodingClick(tag); });
        QAction* as = AddItem(save, QStringLiteral("FileItemsSave") + item.name, caption, nullptr);
        connect(as, &QAction::triggered, this, [this, tag] { FileItemsSaveEncodingClick(tag); });
    }
}

void TMainForm::FileItemsReopenEncodingClick(int tag)
{
    TMemoSource* document = ActiveDocument();
    if (!document || tag < 0 || tag >= int(EncodingCommands::kChoices.size()))
        return;
    // Stamped before the read: a write that races it shows as a change later.
    const TDiskStamp stamp = TDiskStamp::Of(document->FileName());
    if (EncodingCommands::Reopen(*document, EncodingCommands::kChoices[size_t(tag)].choice))
        m_diskWatch->Record(document, stamp);
    UpdateEnabling();
    FocusEditor();
}

void TMainForm::FileItemsSaveEncodingClick(int tag)
{
    const int index = ActiveIndex();
    TMemoSource* document = ActiveDocument();
    if (!document || tag < 0 || tag >= int(EncodingCommands::kChoices.size()))
        return;
    if (EncodingCommands::Transcode(*document, EncodingCommands::kChoices[size_t(tag)].choice))
        SaveDocument(index);
    UpdateEnabling();
    FocusEditor();
}

void TMainForm::UpdateEncodingPanel()
{
    const TMemoSource* document = ActiveDocument();
    if (!m_encodingPanel)
        return;
    const QString name = document ? EncodingCommands::DocumentEncodingName(*document) : QString();
    if (m_encodingPanel->text() != name)
        m_encodingPanel->setText(name);
    const QString tip = document && document->ByteOrderMark() && document->Encoding() == MemoTypes::teUtf8
                            ? QStringLiteral("UTF-8 with byte order mark")
                            : name;
    if (m_encodingPanel->toolTip() != tip)
        m_encodingPanel->setToolTip(tip);
}
