#pragma once

#include <QtGlobal>

#include <cstdlib>
#include <cstring>
#include <string_view>

// One line of a text store. Kept small and flat, since a file of a million
// lines holds a million of them: the text either points into the block the
// file was loaded into (capacity 0, not owned) or into a heap block of its own.
struct TStringItem {
    enum Flag : quint8 {
        kAttrsValid = 0x01, // the attributes belong to the current text and start state
        kReadOnly = 0x02,
        kHasTab = 0x04,     // the text holds a tab character (display columns differ)
        kHidden = 0x08,     // hidden by a collapsed outline point
        kJoinable = 0x10,   // reserved for the line-join operation
        kEdited = 0x20,     // the text was changed by an edit since loading
    };
    // How the line ends in the file. Most lines end the document's own way
    // (its OutFormat), which a change of that format follows; a line loaded
    // with another end keeps it, and only the last line may have none.
    enum LineEnd : quint8 { kEndDocument = 0, kEndCrLf = 1, kEndCr = 2, kEndLf = 3, kEndNone = 4 };
    enum Collapse : quint8 { kNoCollapsePoint = 0, kExpanded = 1, kCollapsed = 2 };

    char* text = nullptr;
    qint32 length = 0;
    qint32 capacity = 0;
    // Attribute bytes, one per displayed character, behind a 32-bit length;
    // null until the line is first parsed.
    uchar* attrs = nullptr;
    quint32 startState = 0;
    quint32 endState = 0;
    qint32 displayLength = 0; // as reported back by the view
    quint8 flags = 0;
    quint8 lineStyle = 0;
    quint8 collapse = kNoCollapsePoint;
    quint8 lineEnd = kEndDocument;

    std::string_view Text() const { return {text, size_t(length)}; }
    bool Has(Flag flag) const { return flags & flag; }
    void Set(Flag flag, bool on) { flags = on ? quint8(flags | flag) : quint8(flags & ~flag); }

    int AttrLength() const
    {
        qint32 n = 0;
        if (attrs)
            std::memcpy(&n, attrs, sizeof n);
        return n;
    }
    uchar* AttrData() const { return attrs ? attrs + sizeof(qint32) : nullptr; }
    // Makes room for n attribute bytes (contents undefined after growth).
    uchar* ResizeAttrs(int n)
    {
        if (!attrs || AttrLength() != n) {
            attrs = static_cast<uchar*>(std::realloc(attrs, sizeof(qint32) + size_t(n)));
            std::memcpy(attrs, &n, sizeof n);
        }
        return AttrData();
    }
    void FreeAttrs()
    {
        std::free(attrs);
        attrs = nullptr;
    }
    void FreeText()
    {
        if (capacity > 0)
            std::free(text);
        text = nullptr;
        length = capacity = 0;
    }
};
