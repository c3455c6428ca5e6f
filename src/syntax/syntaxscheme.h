#pragma once

#include "attritem.h"
#include "charset.h"
#include "compiledblock.h"
#include "syntaxblock.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class TSyntaxParser;

// One link of a nesting path: the block, the BlockDelimiters entry that
// opened it (-1 for the root) and the path toward the root. Paths share
// their tails: next is the index of the path this one was entered from
// (-1 for the root path), so two paths are equal exactly when their indices
// are. A block opened inside a comment or string of its parent keeps that
// construct, which goes on when the block closes; it is part of the path.
struct TBlockInfo {
    int blockIndex = 0;
    int delimiterIndex = -1;
    int next = -1;
    quint32 resumeConstruct = 0; // LineState::TOpenConstruct of the parent
    int resumeToken = 0;
    // Taken from the opening delimiter when the path was made.
    bool partOfBlock = false;
    bool caseSensitive = false;
    // Worked out once when the path is made, for the parser: the text that
    // closes the block (null: none) and the character it is recognised by,
    // its last when the block reads it, else its first, in both cases when
    // it is compared without case.
    const std::string* closing = nullptr;
    int closeLength = 0;
    uchar closeChar = 0;
    uchar closeCharOtherCase = 0;
    uchar closeEscape = 0; // TDelimiters::EscapeSymbol of the opening
    // Characters that, just before or at a position, let a transition step
    // do anything there: the closing text's and the openings' (a superset),
    // as a table of kTriggerAt and kTriggerBefore bits.
    static constexpr uchar kTriggerAt = 1;
    static constexpr uchar kTriggerBefore = 2;
    std::array<uchar, 256> trigger{};
    // Inside a comment or string of the block: the characters at or just
    // before a position where the block may close (CloseInTokens) or a child
    // may open (OpenInTokens).
    bool closesInTokens = false;
    TCharSet breakBefore;
    TCharSet breakAt;
    std::array<bool, 256> breakAny{}; // either, as a table: one load a character
    bool hasBreaks = false;
    // The paths entered from this one, as a list.
    int firstChild = -1;
    int nextSibling = -1;
    // The path entered between tokens through the opening with a quick slot
    // (TOpening::quickSlot) of this path's block, once known; -1 before.
    std::array<qint16, kQuickSlots> quick = MakeQuick();

    static constexpr std::array<qint16, kQuickSlots> MakeQuick()
    {
        std::array<qint16, kQuickSlots> table{};
        for (qint16& slot : table)
            slot = -1;
        return table;
    }
};

// A syntax scheme: pure data that tells the parser how to cut a line into
// tokens (a tree of blocks, item 0 the root) and a font table mapping the
// FontIDs of the token rules to fonts and colours. Compile derives the
// run-time tables; they are never stored.
class TSyntaxScheme : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(TSyntaxBlockList* SyntaxBlocks READ SyntaxBlocks WRITE SetSyntaxBlocks)
    Q_PROPERTY(TFontList* FontTable READ FontTable WRITE SetFontTable)
    Q_PROPERTY(int SyntaxVersion READ SyntaxVersion WRITE SetSyntaxVersion DESIGNABLE false USER true)

public:
    static constexpr int kCompiledVersion = 3;

    // A new scheme holds one block "Default" with ID 0, version 1.
    Q_INVOKABLE explicit TSyntaxScheme(QObject* parent = nullptr);
    ~TSyntaxScheme() override;

    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    TSyntaxBlockList* SyntaxBlocks() const { return m_blocks; }
    void SetSyntaxBlocks(TSyntaxBlockList* blocks);
    TFontList* FontTable() const { return m_fontTable; }
    void SetFontTable(TFontList* table);
    int SyntaxVersion() const { return m_syntaxVersion; }
    void SetSyntaxVersion(int version) { m_syntaxVersion = version; }
    bool UseGlobalOptions() const { return m_useGlobalOptions; }
    void SetUseGlobalOptions(bool use) { m_useGlobalOptions = use; }

    // The parser that owns the scheme, or null.
    TSyntaxParser* Parser() const;

    // Copies name, version, font table and blocks of another scheme (not
    // UseGlobalOptions), then rebuilds: through the parser when there is one.
    void Assign(const TSyntaxScheme& source);
    // Name empty, version 1, no blocks and no font entries.
    void Clear();

    TSyntaxBlock* FindBlockID(int id) const { return m_blocks->FindID(id); }
    TAttrItem* FindFontID(int fontId) const { return m_fontTable->FindFontID(fontId); }
    // The smallest ID 0..255 no block uses (0 when all are used).
    int FreeBlockID() const;

    // Brings a scheme stored before version 2 to the current form: every
    // block gets an ID, one level of nesting under block 0, and every font
    // entry the ID of the block whose rules use it. Afterwards the version is
    // 3 whatever it was.
    void Upgrade();
    // Upgrade, then build the run-time tables; ends in the parser's
    // UpdateFonts when there is a parser.
    void Compile();
    // Computes the effective font and background of every font entry and
    // fills the AttrTable.
    void ResolveFonts();

    // -- run-time data ---------------------------------------------------------
    const TCharSet& FreeSymbolChars() const { return m_freeSymbolChars; }
    const std::vector<TCompiledBlock>& CompiledBlocks() const { return m_compiled; }
    bool IsCompiled() const { return !m_compiled.empty(); }
    // Attribute slot to font entry (null: none).
    TAttrItem* AttrTable(int attr) const { return attr >= 0 && attr < 256 ? m_attrTable[size_t(attr)] : nullptr; }
    // The entry painted for attributes that have none.
    TAttrItem& FallbackAttr() const { return *m_fallbackAttr; }
    TAttrItem& UrlLinkAttr() const { return *m_urlLinkAttr; }

    // The nesting paths met so far; entry 0 is the root. Paths are appended
    // while lines are parsed and only dropped by Compile.
    const std::vector<TBlockInfo>& BlockPaths() const { return m_paths; }
    // The path entered from path `from` through delimiter `delimiter` of
    // child block `child` (inside the parent's open construct resumeConstruct
    // with its token resumeToken, or none), made when new; -1 when all 256 are
    // taken. The paths never move in memory until the next Compile.
    int PushPath(int from, int child, int delimiter, bool partOfBlock, bool caseSensitive,
                 quint32 resumeConstruct = 0, int resumeToken = 0);
    // The path left when the current block of path `from` closes.
    int PopPath(int from) const;
    // Notes that path `to` is entered from path `from` through the opening
    // of quick slot `slot`.
    void RememberPath(int from, int slot, int to) { m_paths[size_t(from)].quick[size_t(slot)] = qint16(to); }

private:
    void ClearRunTime();
    void SetTriggers(TBlockInfo& path) const;

    QString m_name;
    TSyntaxBlockList* m_blocks;
    TFontList* m_fontTable;
    int m_syntaxVersion = 1;
    bool m_useGlobalOptions = false;

    TCharSet m_freeSymbolChars;
    std::vector<TCompiledBlock> m_compiled;
    std::array<TAttrItem*, 256> m_attrTable{};
    std::unique_ptr<TAttrItem> m_fallbackAttr;
    std::unique_ptr<TAttrItem> m_urlLinkAttr;
    std::vector<TBlockInfo> m_paths;
};
