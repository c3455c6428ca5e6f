#pragma once

#include "common/fakeservices.h"
#include "memosource.h"
#include "memosourceoptions.h"
#include "sourcestrings.h"

#include <QList>

#include <gtest/gtest.h>

// A document for command tests: a store loaded with text, the scripted
// services installed (clipboard and questions in memory), overwrite mode off.
struct Doc {
    explicit Doc(const QByteArray& text = {}, TTextPos caret = {})
    {
        TCustomMemoSource::SetOverwriteMode(false);
        source.Lines().SetText(text);
        source.SetSavePoint();
        Place(caret);
    }
    ~Doc() { TCustomMemoSource::SetOverwriteMode(false); }

    // The caret to pos without touching undo history worth testing.
    void Place(TTextPos pos)
    {
        source.MoveCaretTo(pos);
        source.ClearUndo();
    }
    void Select(TTextPos begin, TTextPos end, int mode = smStream) { source.SetSelection(begin, end, mode); }

    QList<QByteArray> Lines() { return source.Lines().ToList(); }
    // The raw text (tabs kept), lines joined by CR LF.
    QByteArray Text() { return source.Lines().Text(); }
    TTextPos Caret() const { return source.Caret(); }
    QString Selected() const { return QString::fromLatin1(source.SelectedText()); }

    TFakeServices services;
    TMemoSource source;
};

// Runs a command and checks that one undo step gives back the text and the
// caret exactly as they were.
template <class Command>
void ExpectOneUndoStep(Doc& doc, Command command)
{
    const QByteArray before = doc.Text();
    const TTextPos caret = doc.Caret();
    command();
    doc.source.Undo();
    EXPECT_EQ(doc.Text(), before);
    EXPECT_EQ(doc.Caret(), caret);
}

using Texts = QList<QByteArray>;
