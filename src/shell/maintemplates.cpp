// The main window's template and bookmark commands: new documents from
// templates, saving a document as a template, the "Bookmark" tool bar's
// menus and the go-to-bookmark dialog.

#include "mainform.h"

#include "bookmarkmenus.h"
#include "booksform.h"
#include "dcmemo.h"
#include "encodingdetect.h"
#include "documentnames.h"
#include "memosource.h"
#include "services.h"
#include "templatefiles.h"
#include "templateform.h"
#include "textcodec.h"
#include "textcommands.h"

#include <QFileInfo>

// -- templates -----------------------------------------------------------------

void TMainForm::NewDocumentFromTemplate(const QString& path)
{
    // The template is read before anything is created: a file that cannot
    // be read leaves no empty document behind.
    QByteArray text;
    QString error;
    if (!TemplateFiles::Read(path, text, error)) {
        Services().ShowError(error);
        return;
    }
    if (TMemoSource* document = NewDocument()) {
        // A template file is read in its own encoding and goes into the new
        // document in the document's; a template that declares its charset
        // makes the document that encoding, so that the page and its
        // declaration agree when it is saved.
        TTextEncoding declared = MemoTypes::teWindows1252;
        if (EncodingDetect::DeclaredEncoding(text.constData(), text.size(), declared))
            document->SetEncoding(declared);
        const TDetectedEncoding found = EncodingDetect::Detect(text.constData(), text.size(), true);
        if (found.byteOrderMark)
            text.remove(0, EncodingDetect::kByteOrderMarkLength);
        if (found.encoding != document->Encoding())
            text = TextCodec::Encode(TextCodec::Decode(text, found.encoding), document->Encoding());
        TextCommands::InsertAtCaret(*document, text);
    }
    UpdateEnabling();
    FocusEditor();
}

void TMainForm::FileItemsOpenTemplateClick()
{
    // The dialogs are made for each use and freed after it: nothing of one
    // showing is wanted in the next.
    const QString folder = TemplateFiles::Folder(m_programDir);
    TTemplateForm templates(this);
    if (templates.Execute(folder))
        NewDocumentFromTemplate(folder + templates.SelectedItem());
}

void TMainForm::ToolItemsHTMLTagsTemplateClick()
{
    NewDocumentFromTemplate(TemplateFiles::HtmlTemplate(m_programDir));
}

void TMainForm::FileItemsSaveTemplateClick()
{
    const int index = ActiveIndex();
    if (index >= 0) {
        // The dialog opens in the templates folder, proposing the document's
        // name as a template; the process's current folder stays where it
        // is. Later Save As dialogs open where they did before.
        const QString folderBefore = m_saveDialog.initialDir;
        m_saveDialog.initialDir = TemplateFiles::Folder(m_programDir);
        m_saveDialog.defaultExt = QStringLiteral("tpl");
        m_saveDialog.filter = QStringLiteral("Template Files (*.tpl)|*.tpl");
        m_saveDialog.filterIndex = 1;
        m_saveDialog.fileName = QFileInfo(DocumentNames::WithoutFolder(Document(index)->FileName())).completeBaseName();
        const bool chosen = Services().SaveFileDialog(m_saveDialog);
        m_saveDialog.initialDir = folderBefore;
        // Written first, through the same safe save as Save As; the document
        // becomes the template file only once it is there.
        if (chosen)
            SaveDocumentTo(index, m_saveDialog.fileName);
    }
    UpdateEnabling();
}

// -- bookmarks -------------------------------------------------------------------

void TMainForm::BookMark02Click(int tag)
{
    TMemoSource* document = ActiveDocument();
    const int bookmark = TBookmarkMenus::BookmarkOfTag(tag);
    if (document && bookmark != 0) {
        document->ToggleBookmark(bookmark);
        m_bookmarkMenus->Added(tag);
    }
    FocusEditor();
}

void TMainForm::BookMark01Click(int tag)
{
    TMemoSource* document = ActiveDocument();
    const int bookmark = TBookmarkMenus::BookmarkOfTag(tag);
    if (document && bookmark != 0)
        document->GotoBookmark(bookmark);
    FocusEditor();
}

void TMainForm::PopGoBookPopup()
{
    m_bookmarkMenus->SyncGoItems();
}

void TMainForm::SearchItemsBookClick()
{
    if (!ActiveDocument())
        return;
    TBooksForm books(this);
    if (!books.Execute())
        return;
    // The dialog may have been open while the document went away.
    if (TMemoSource* document = ActiveDocument())
        document->GotoBookmark(TBookmarkMenus::BookmarkOfDigit(books.Number()));
    FocusEditor();
}
