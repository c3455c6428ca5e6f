#pragma once

#include "component.h"
#include "font.h"
#include "linestructure.h"

#include <QtGlobal>

#include <memory>
#include <string_view>
#include <vector>

class TSimpleParser;

// A place inside a line from which a parse can start again: a token
// boundary, with everything the parser carries there. state is the line
// state the parser would hand on if the line ended here; local is what it
// keeps within a line besides (its own packing). Two points at the same
// place with equal states give the same parse from there on.
struct TResumePoint {
    qint32 pos = 0;
    quint32 state = 0;
    quint32 local = 0;
    friend bool operator==(const TResumePoint&, const TResumePoint&) = default;
};

// One pass over part of a line, started at a resume point (ParseFrom).
struct TResumablePass {
    // A point is recorded in points (when given) at the first resumable
    // boundary at least spacing bytes past the last one recorded, or past
    // the start.
    int spacing = 0;
    std::vector<TResumePoint>* points = nullptr;
    // Points of an earlier parse of the same text from stopFrom on (sorted
    // by position): the pass stops at the first of them it meets at the
    // same place and with the same state, since from there on everything
    // would come out as before.
    const TResumePoint* old = nullptr;
    int oldCount = 0;
    int stopFrom = 0;
    // The pass stops at the first token boundary at or past limit.
    int limit = 0x7fffffff;
    // Only the attributes of [attrFrom, attrTo) are written, into attrs
    // from its first byte on.
    uchar* attrs = nullptr;
    int attrFrom = 0;
    int attrTo = 0;

    // Where the pass stopped (the line's length when it ran to the end),
    // and whether that was on one of the old points.
    int stoppedAt = 0;
    bool converged = false;
};

// What a parser tells the text stores that use it.
class TParserListener {
public:
    virtual ~TParserListener() = default;
    // The parser's fonts or scheme changed: every line must be parsed again.
    virtual void ParserChanged(TSimpleParser* parser) = 0;
    // The parser is being destroyed; drop every reference to it.
    virtual void ParserDestroyed(TSimpleParser* parser) = 0;
};

// The abstract line parser a text store and an editor control can be given.
// It turns one line into attribute bytes, one per character, and carries
// whatever must survive the line end in the 32-bit line state it returns
// (0: nothing open).
class TSimpleParser : public TComponent {
    Q_OBJECT

public:
    explicit TSimpleParser(TComponent* owner = nullptr);
    ~TSimpleParser() override;

    virtual void SetCurrentLine(int line) { m_currentLine = line; }
    int CurrentLine() const { return m_currentLine; }
    // Whether the lines handed to ParseLine next are UTF-8, in which a
    // non-ASCII letter is one character of several bytes. A parser serves
    // documents of either kind; the store says which before each line.
    void SetUtf8Text(bool utf8) { m_utf8Text = utf8; }
    bool Utf8Text() const { return m_utf8Text; }

    // The font attribute attr is painted in, or null for the control's own.
    virtual const TFont* GetAttrFont(int attr) const { return nullptr; }
    // The background of attr; false when the parser has none.
    virtual bool GetAttrBackColor(int attr, TColor& color) const { return false; }
    // Parses text (the displayed line) starting in state and writes one
    // attribute per character into attrs (text.size() bytes). Returns the
    // state at the line's end.
    virtual quint32 ParseLine(std::string_view text, quint32 state, uchar* attrs) = 0;
    // The state at the end of the line, the same ParseLine returns, for a
    // pass that keeps no attributes. The base parses into scratch (grown as
    // needed); a parser that can skip writing attributes does so.
    virtual quint32 ParseLineState(int line, std::string_view text, quint32 state, std::vector<uchar>& scratch);
    // Whether ParseFrom works: the parser can start inside a line.
    virtual bool Resumable() const { return false; }
    // How far the parser looks back from a position, and ahead of a
    // token's end, at most: a pass must start at least this far in front
    // of an edit, and may stop on an old point only this far behind it.
    virtual int ResumeReach() const { return 0; }
    // Parses text (the displayed line) from a resume point as pass asks;
    // the state at the line's end when the pass ran to it.
    virtual quint32 ParseFrom(std::string_view text, const TResumePoint& from, TResumablePass& pass)
    {
        return from.state;
    }
    // True: a full re-highlight keeps the old attributes until each line is
    // parsed again.
    virtual bool KeepsAttributes() const { return false; }
    // A private copy of the parser that another thread may run while this
    // one goes on here, to establish the line states of a far part of a
    // text meanwhile; null when the parser cannot be copied. The copy
    // numbers its states its own way: TakeWorkerStates turns them into this
    // parser's.
    virtual std::unique_ptr<TSimpleParser> CreateWorkerCopy() const { return nullptr; }
    // Turns count states of copy (from CreateWorkerCopy) into this parser's,
    // in place; false when some have no equal here (states then undefined).
    virtual bool TakeWorkerStates(const TSimpleParser& copy, quint32* states, size_t count) { return false; }
    // Prepares the attributes of a line before ParseLine (the base fills 0).
    virtual void InitLineAttributes(int line, std::string_view text, uchar* attrs);

    // Whether the parser reports the structure of what it parses (brackets,
    // comments, blocks, elements) to a structure sink; a text store keeps
    // fold points only then.
    virtual bool ReportsStructure() const { return false; }
    // Where ParseLine and ParseLineState report the structure of each line
    // from now on (null: nowhere, the parse costs nothing more).
    void SetStructureSink(TStructureSink* sink) { m_structureSink = sink; }
    TStructureSink* StructureSink() const { return m_structureSink; }

    void AddListener(TParserListener* listener);
    void RemoveListener(TParserListener* listener);
    int ListenerCount() const { return int(m_listeners.size()); }

protected:
    // Tells every listener that all lines must be parsed again.
    void NotifyListeners();

private:
    std::vector<TParserListener*> m_listeners;
    int m_currentLine = 0;
    bool m_utf8Text = false;
    TStructureSink* m_structureSink = nullptr;
};
