// Handlers of File, Export and File, Print.

#include "mainform.h"

#include "dcmemo.h"
#include "diskwatch.h"
#include "memoprintform.h"
#include "memosource.h"
#include "richtext.h"
#include "services.h"

#include <QFileInfo>

void TMainForm::FileItemsExportClick()
{
    TMemoSource* document = ActiveDocument();
    if (!document)
        return;
    TServices::TFileDialog dialog;
    dialog.filter = QStringLiteral("Rich Document (*.rtf)|*.rtf");
    dialog.defaultExt = QStringLiteral("rtf");
    if (!document->FileName().isEmpty()) {
        const QFileInfo info(document->FileName());
        dialog.initialDir = info.absolutePath();
        dialog.fileName = info.completeBaseName() + QStringLiteral(".rtf");
    }
    if (!Services().SaveFileDialog(dialog) || dialog.fileName.isEmpty() || !ConfirmWriteReadOnly(dialog.fileName))
        return;
    QString error;
    if (!TRichTextWriter::ExportFile(*document, m_editor->Font(), m_editor->Color(), dialog.fileName, &error))
        Services().ShowError(error);
}

void TMainForm::FileItemsPrintClick()
{
    if (ActiveDocument())
        TMemoPrintForm::Execute(*m_editor, [this] { HelpItemsHelpClick(); });
}
