#pragma once

#include "statetable.h"

#include <QtGlobal>

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <type_traits>

// One line of a text store. Kept small and flat, since a file of a million
// lines holds a million of them and every byte of the item costs a megabyte:
// the text either points into the block the file was loaded into (not owned)
// or into a heap block of its own, whose capacity sits in a header in front
// of the text. The attribute bytes are not here: only the parser states at
// the line's start and end are kept for every line (that is all the lines
// after it need); the attributes live in the store's bounded attribute cache.
// The states are ids into the shared state table, and the item is packed to
// 4-byte alignment: 8 + 4 + 2 + 2 + 4 bytes, where natural alignment would
// pad it to 24. The text pointer of every other item then sits off its
// natural alignment, which the processors this builds for read at full speed.
//
// invariant: sizeof(TStringItem) == 20 on a 64-bit system, and the item is
// trivially copyable (the line array moves items with memmove and realloc).
#pragma pack(push, 4)
struct TStringItem {
    enum Flag : quint8 {
        kAttrsValid = 0x01, // startState and endState belong to the current text
        kReadOnly = 0x02,
        kHasTab = 0x04,     // the text holds a tab character (display columns differ)
        kHidden = 0x08,     // hidden by a collapsed outline point
        kJoinable = 0x10,   // reserved for the line-join operation
        kEdited = 0x20,     // the text was changed by an edit since loading
        kOwnsText = 0x40,   // text is a heap block with a capacity header
    };
    // How the line ends in the file. Most lines end the document's own way
    // (its OutFormat), which a change of that format follows; a line loaded
    // with another end keeps it, and only the last line may have none.
    enum LineEnd : quint8 { kEndDocument = 0, kEndCrLf = 1, kEndCr = 2, kEndLf = 3, kEndNone = 4 };
    enum Collapse : quint8 { kNoCollapsePoint = 0, kExpanded = 1, kCollapsed = 2 };

    // An owned text block starts with its capacity, padded so that the text
    // behind it stays aligned.
    static constexpr size_t kHeaderSize = 8;

    char* text = nullptr;
    qint32 length = 0;
    TStoredState startState;
    TStoredState endState;
    quint8 flags = 0;
    quint8 lineStyle = 0;
    quint8 collapse = kNoCollapsePoint;
    quint8 lineEnd = kEndDocument;

    std::string_view Text() const { return {text, size_t(length)}; }
    bool Has(Flag flag) const { return flags & flag; }
    void Set(Flag flag, bool on) { flags = on ? quint8(flags | flag) : quint8(flags & ~flag); }

    // Bytes the text may grow to in place; 0 for text borrowed from a block.
    qint32 Capacity() const
    {
        qint32 capacity = 0;
        if (Has(kOwnsText))
            std::memcpy(&capacity, text - kHeaderSize, sizeof capacity);
        return capacity;
    }
    // Points text at a new heap block of capacity bytes (contents undefined);
    // null when there is no memory for it, and the old text kept.
    static char* AllocateText(qint32 capacity)
    {
        auto* block = static_cast<char*>(std::malloc(kHeaderSize + size_t(capacity)));
        if (!block)
            return nullptr;
        std::memcpy(block, &capacity, sizeof capacity);
        return block + kHeaderSize;
    }
    // Takes a block from AllocateText as the line's text.
    void AdoptText(char* block)
    {
        FreeText();
        text = block;
        Set(kOwnsText, true);
    }
    void FreeText()
    {
        if (Has(kOwnsText))
            std::free(text - kHeaderSize);
        Set(kOwnsText, false);
        text = nullptr;
        length = 0;
    }
};

#pragma pack(pop)

static_assert(sizeof(void*) != 8 || sizeof(TStringItem) == 20, "the line item is 20 bytes");
static_assert(std::is_trivially_copyable_v<TStringItem>, "line items are moved as bytes");
