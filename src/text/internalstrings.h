#pragma once

#include "attributecache.h"
#include "foldranges.h"
#include "linestructures.h"
#include "longlines.h"
#include "tabcolumns.h"
#include "stringitem.h"
#include "stringlist.h"

#include <QByteArray>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

// The line storage of a text store: line items in an array with a gap at the
// last edit, so that typing Enter in the middle of a million lines moves only
// the items between the old and the new gap position.
class TInternalStrings : public TStrings {
public:
    TInternalStrings() = default;
    ~TInternalStrings() override;
    TInternalStrings(const TInternalStrings&) = delete;
    TInternalStrings& operator=(const TInternalStrings&) = delete;

    int Count() const override { return m_count; }
    int Capacity() const { return m_capacity; }

    // The text of a line, passed through OnGetTransform unless Raw is set.
    QByteArray Get(int index) const override;
    // Replaces the text and invalidates the attributes; nothing out of range.
    void Put(int index, const QByteArray& text) override { PutRaw(index, std::string_view(text.constData(), size_t(text.size()))); }
    void Insert(int index, const QByteArray& text) override { InsertRaw(index, std::string_view(text.constData(), size_t(text.size()))); }
    void Delete(int index) override;
    void Clear() override;
    // Exchanging lines is not supported by the store.
    void Exchange(int, int) {}
    // The whole text, tabs kept, lines joined by CR LF without a final one.
    QByteArray Text() const override;

    TStringItem& Item(int index) { return m_items[Slot(index)]; }
    const TStringItem& Item(int index) const { return m_items[Slot(index)]; }
    std::string_view RawText(int index) const;
    void PutRaw(int index, std::string_view text);
    void InsertRaw(int index, std::string_view text);
    // Replaces part of a line's text: count bytes at pos by text.
    void Splice(int index, int pos, int count, std::string_view text);

    // Adopts a block the text was loaded into; lines may then point into it.
    void AdoptBlock(std::shared_ptr<char[]> block) { m_blocks.push_back(std::move(block)); }
    // The adopted blocks. Their bytes never change once adopted (an edited
    // line gets a block of its own), so a copy of these pointers keeps
    // every borrowed line's text readable, from any thread.
    const std::vector<std::shared_ptr<char[]>>& Blocks() const { return m_blocks; }
    // The end every line of the adopted blocks had in them (kEndNone: they
    // differ, or nothing is known). Two borrowed lines whose texts lie that
    // many bytes apart are then neighbours in a block with exactly that end
    // between them, without reading it.
    quint8 BlockEnding() const { return m_blockEnding; }
    void SetBlockEnding(quint8 ending) { m_blockEnding = ending; }
    // Appends a line that points at text inside an adopted block.
    TStringItem& AppendBorrowed(char* text, int length);
    // Makes room for count lines; false (and nothing changed) when memory
    // for them cannot be had.
    bool Reserve(int count);
    // Exchanges the lines (and the blocks they point into) with other's.
    void Swap(TInternalStrings& other);

    bool Raw() const { return m_raw; }
    void SetRaw(bool raw) { m_raw = raw; }
    std::function<QByteArray(int index, std::string_view raw)> OnGetTransform;

    // Bytes held by the line items (not their text).
    size_t ItemBytes() const { return size_t(m_capacity) * sizeof(TStringItem); }

    // The attributes of the lines shown lately, kept in step with inserted
    // and deleted lines.
    TAttributeCache& Attributes() { return m_attributes; }
    const TAttributeCache& Attributes() const { return m_attributes; }
    // The resume points and shown attributes of very long lines, kept in
    // step with every edit.
    TLongLines& LongLines() { return m_longLines; }
    const TLongLines& LongLines() const { return m_longLines; }
    // The structure of the parsed lines (brackets, comments, blocks,
    // elements) and the collapsed folds, kept in step with every edit.
    TLineStructures& Structures() { return m_structures; }
    const TLineStructures& Structures() const { return m_structures; }
    TFoldRanges& Folds() { return m_folds; }
    const TFoldRanges& Folds() const { return m_folds; }
    // The column indexes of long lines with tabs, built as they are asked
    // for (also through a const store, hence mutable), dropped with edits.
    TTabColumns& TabColumns() const { return m_tabColumns; }

private:
    size_t Slot(int index) const { return size_t(index < m_gapStart ? index : index + m_gapLength); }
    void MoveGap(int position);
    void Grow();
    static void SetText(TStringItem& item, std::string_view text);

    // invariant: m_capacity == m_count + m_gapLength; items [0, m_gapStart)
    // and [m_gapStart + m_gapLength, m_capacity) are lines in order.
    TStringItem* m_items = nullptr;
    int m_count = 0;
    int m_capacity = 0;
    int m_gapStart = 0;
    int m_gapLength = 0;
    bool m_raw = false;
    quint8 m_blockEnding = TStringItem::kEndNone;
    std::vector<std::shared_ptr<char[]>> m_blocks;
    TAttributeCache m_attributes;
    TLongLines m_longLines;
    TLineStructures m_structures;
    TFoldRanges m_folds;
    mutable TTabColumns m_tabColumns;
};
