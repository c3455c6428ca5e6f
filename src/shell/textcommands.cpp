// The text commands beyond snippets. They are built on the text store's
// operations inside one compound bracket each, so that a command is one undo
// step whatever undo grouping says.
//
// No update bracket is held around them: the case and OEM operations keep
// caret and selection by putting them back when their outermost bracket
// ends, which would undo what a command does to the caret afterwards.

#include "textcommands.h"

#include "memosource.h"
#include "stringlist.h"

namespace {

// A compound bracket for the life of a scope.
class TOneStep {
public:
    explicit TOneStep(TCustomMemoSource& document) : m_document(document) { document.BeginCompound(); }
    ~TOneStep() { m_document.EndCompound(); }
    TOneStep(const TOneStep&) = delete;
    TOneStep& operator=(const TOneStep&) = delete;

private:
    TCustomMemoSource& m_document;
};

void convertSelectionCase(TCustomMemoSource& document, void (TCustomMemoSource::*convert)())
{
    if (!document.HasSelection() || document.SelectedText().isEmpty())
        return;
    TOneStep step(document);
    // The case tables map one byte to one byte, so the selection's end is
    // still the end of the converted text.
    const TTextPos end = document.BlockEnd();
    (document.*convert)();
    document.ClearSelection();
    document.MoveCaretTo(end);
}

} // namespace

QByteArray TextCommands::ColorText(TColor color)
{
    return QByteArray("#") + QByteArray::number(color.Red() | 0x100, 16).mid(1).toUpper()
           + QByteArray::number(color.Green() | 0x100, 16).mid(1).toUpper()
           + QByteArray::number(color.Blue() | 0x100, 16).mid(1).toUpper();
}

void TextCommands::InsertAtCaret(TCustomMemoSource& document, const QByteArray& text)
{
    if (text.isEmpty())
        return;
    TOneStep step(document);
    document.InsertText(text);
}

void TextCommands::ConvertLinesToPrintln(TCustomMemoSource& document)
{
    if (!document.HasSelection() || document.ReadOnly())
        return;
    QByteArray statements;
    for (const QByteArray& line : TStrings::SplitLines(document.SelectedText())) {
        // The line's indent stays the statement's; the rest becomes the text
        // of a Java string, its quotes and backslashes escaped, so that the
        // statement compiles and prints the line as it reads.
        qsizetype indent = 0;
        while (indent < line.size() && (line[indent] == ' ' || line[indent] == '\t'))
            ++indent;
        QByteArray text;
        for (char c : line.mid(indent)) {
            if (c == '"' || c == '\\')
                text += '\\';
            text += c;
        }
        statements += line.left(indent) + "out.println(\"" + text + "\");\r\n";
    }
    TOneStep step(document);
    document.ReplaceSelection(statements);
}

void TextCommands::SelectionToLowerCase(TCustomMemoSource& document)
{
    convertSelectionCase(document, &TCustomMemoSource::BlockToLowerCase);
}

void TextCommands::SelectionToUpperCase(TCustomMemoSource& document)
{
    convertSelectionCase(document, &TCustomMemoSource::BlockToUpperCase);
}

void TextCommands::ConvertToOem(TCustomMemoSource& document)
{
    AsOneStep(document, &TCustomMemoSource::ConvertToOem);
}

void TextCommands::ConvertFromOem(TCustomMemoSource& document)
{
    AsOneStep(document, &TCustomMemoSource::ConvertFromOem);
}

void TextCommands::AsOneStep(TCustomMemoSource& document, void (TCustomMemoSource::*command)())
{
    TOneStep step(document);
    (document.*command)();
}
