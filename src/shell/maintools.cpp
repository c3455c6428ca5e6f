// The main window's tool runs: Applet Compile and Run, Run Java Program,
// the browser preview and batch commands, and the Output pane that shows
// what they write. The work itself is TToolRuns'; here the window hands it
// the active document.

#include "mainform.h"

#include "batchform.h"
#include "dcmemo.h"
#include "documentnames.h"
#include "memosource.h"
#include "outputpane.h"
#include "toolruns.h"

#include <QLayout>
#include <QSplitter>

void TMainForm::CreateToolRuns()
{
    // The pane goes under the editor, the two sharing the room below the tabs.
    auto* split = new QSplitter(Qt::Vertical, centralWidget());
    split->setObjectName(QStringLiteral("EditorSplit"));
    split->setChildrenCollapsible(false);
    delete centralWidget()->layout()->replaceWidget(m_editor, split);
    m_output = new TOutputPane(split);
    split->addWidget(m_editor);
    split->addWidget(m_output);
    split->setStretchFactor(0, 1);
    split->setSizes({400, 150});
    m_output->OnOpenLocation = [this](const QString& path, int line) { OpenAtLine(path, line); };
    m_toolRuns = new TToolRuns(m_programDir, m_output, this);
}

void TMainForm::OpenAtLine(const QString& path, int line)
{
    OpenFile(path);
    TMemoSource* document = ActiveDocument();
    // The file may have gone since the compiler named it; OpenFile has said
    // so then.
    if (document && DocumentNames::SamePath(document->FileName(), path))
        document->GotoLineNumber(line);
    UpdateEnabling();
    FocusEditor();
}

void TMainForm::ToolItemsJavaCompileClick()
{
    if (TMemoSource* document = ActiveDocument())
        m_toolRuns->Compile(document->FileName());
}

void TMainForm::ToolItemsJavaRunClick()
{
    if (TMemoSource* document = ActiveDocument())
        m_toolRuns->Run(document->FileName());
}

void TMainForm::ToolItemsJavaRunProgramClick()
{
    // The launcher reads the file, so what is shown is saved first; an
    // untitled document is asked a name for.
    const int index = ActiveIndex();
    TMemoSource* document = Document(index);
    if (!document)
        return;
    if ((document->Modified() || !DocumentNames::HasFolder(document->FileName())) && !SaveDocument(index))
        return;
    UpdateEnabling();
    m_toolRuns->RunJavaProgram(document->FileName());
}

void TMainForm::cmdBrowseClick()
{
    if (TMemoSource* document = ActiveDocument())
        m_toolRuns->Preview(document->FileName(), document->SavedBytes());
}

void TMainForm::ToolItemsRunBatchClick()
{
    // Made for each use: nothing of one showing is wanted in the next.
    TBatchForm batch(this);
    if (batch.Execute(m_programDir + QStringLiteral("Command/")))
        m_toolRuns->RunBatch(batch.Command());
}
