#include "syntaxscheme.h"

#include "linestate.h"
#include "syntaxparser.h"

#include <bitset>

TSyntaxScheme::TSyntaxScheme(QObject* parent)
    : QObject(parent),
      m_blocks(new TSyntaxBlockList(this)),
      m_fontTable(new TFontList(this)),
      m_fallbackAttr(std::make_unique<TAttrItem>()),
      m_urlLinkAttr(std::make_unique<TAttrItem>())
{
    TSyntaxBlock* root = m_blocks->AddItem();
    root->SetName(QStringLiteral("Default"));
    root->SetID(0);

    m_fallbackAttr->SetGlobalAttrID(QStringLiteral("Whitespace"));
    m_fallbackAttr->SetUseDefFont(false);
    m_fallbackAttr->SetUseDefBack(false);
    m_urlLinkAttr->SetFontID(12);
    m_urlLinkAttr->SetGlobalAttrID(QStringLiteral("Url"));
    m_urlLinkAttr->SetUseDefFont(false);
    m_urlLinkAttr->SetUseDefBack(false);

    // A table entry that goes away must not stay reachable from the attribute
    // slots until the next ResolveFonts.
    m_fontTable->OnRemoved = [this](const TCollectionItem* item) {
        for (TAttrItem*& slot : m_attrTable) {
            if (slot == item)
                slot = nullptr;
        }
    };
    m_paths.push_back(TBlockInfo{});
}

TSyntaxScheme::~TSyntaxScheme()
{
    m_fontTable->OnRemoved = nullptr;
}

TSyntaxParser* TSyntaxScheme::Parser() const
{
    return qobject_cast<TSyntaxParser*>(parent());
}

void TSyntaxScheme::SetSyntaxBlocks(TSyntaxBlockList* blocks)
{
    if (blocks && blocks != m_blocks)
        m_blocks->Assign(*blocks);
}

void TSyntaxScheme::SetFontTable(TFontList* table)
{
    if (table && table != m_fontTable)
        m_fontTable->Assign(*table);
}

void TSyntaxScheme::Assign(const TSyntaxScheme& source)
{
    if (&source == this)
        return;
    m_syntaxVersion = source.m_syntaxVersion;
    m_name = source.m_name;
    m_fontTable->Assign(*source.m_fontTable);
    m_blocks->Assign(*source.m_blocks);
    if (TSyntaxParser* parser = Parser())
        parser->RebuildScheme();
    else
        Compile();
}

void TSyntaxScheme::Clear()
{
    m_name.clear();
    m_syntaxVersion = 1;
    m_blocks->Clear();
    m_fontTable->Clear();
}

int TSyntaxScheme::FreeBlockID() const
{
    std::bitset<256> used;
    for (int i = 0; i < m_blocks->Count(); ++i) {
        const int id = m_blocks->At(i)->ID();
        if (id >= 0 && id < 256)
            used.set(size_t(id));
    }
    for (int id = 0; id < 256; ++id) {
        if (!used.test(size_t(id)))
            return id;
    }
    return 0;
}

void TSyntaxScheme::Upgrade()
{
    if (m_syntaxVersion < 2) {
        for (int i = 0; i < m_blocks->Count(); ++i) {
            TSyntaxBlock* block = m_blocks->At(i);
            if (block->ID() == -1)
                block->SetID(FreeBlockID());
        }
        // Schemes of version 1 knew one level of nesting.
        if (m_blocks->Count() > 0) {
            const int rootId = m_blocks->At(0)->ID();
            for (int i = 0; i < m_blocks->Count(); ++i)
                m_blocks->At(i)->SetParentID(i == 0 ? -1 : rootId);
        }
        for (int i = 0; i < m_blocks->Count(); ++i) {
            const TSyntaxBlock* block = m_blocks->At(i);
            QList<int> ids = block->TokenFontIDs();
            for (int slot = 0; slot < TSyntaxBlock::kFontSlotCount; ++slot)
                ids.append(block->FontSlot(TSyntaxBlock::TFontSlot(slot)));
            for (int fontId : ids) {
                if (fontId < 0)
                    continue;
                for (int f = 0; f < m_fontTable->Count(); ++f) {
                    if (m_fontTable->At(f)->FontID() == fontId)
                        m_fontTable->At(f)->SetBlockID(block->ID());
                }
            }
        }
    }
    m_syntaxVersion = kCompiledVersion;
}

void TSyntaxScheme::ClearRunTime()
{
    m_compiled.clear();
    m_paths.clear();
    m_paths.reserve(LineState::kMaxPaths);
    m_paths.push_back(TBlockInfo{});
}

void TSyntaxScheme::Compile()
{
    Upgrade();
    ClearRunTime();
    TCharSet used;
    m_compiled.reserve(size_t(m_blocks->Count()));
    for (int i = 0; i < m_blocks->Count(); ++i)
        m_compiled.push_back(CompileBlock(*m_blocks, i, used));
    if (!m_compiled.empty()) {
        m_paths[0].caseSensitive = m_compiled[0].caseSensitive;
        SetTriggers(m_paths[0]);
    }
    m_freeSymbolChars = SymbolChars();
    m_freeSymbolChars.Remove(used);
    const TCharSet symbols = SymbolChars();
    for (TCompiledBlock& block : m_compiled) {
        for (int c = 0; c < 256; ++c) {
            if (m_freeSymbolChars.Has(uchar(c)))
                block.starts[size_t(c)] |= sfFree;
            if (symbols.Has(uchar(c)) && !block.ownUsed.Has(uchar(c)))
                block.starts[size_t(c)] |= sfFreeHere;
        }
    }
    if (TSyntaxParser* parser = Parser())
        parser->UpdateFonts();
}

int TSyntaxScheme::PushPath(int from, int child, int delimiter, bool partOfBlock, bool caseSensitive,
                            quint32 resumeConstruct, int resumeToken)
{
    if (from < 0 || from >= int(m_paths.size()) || child < 0 || child >= int(m_compiled.size()))
        return -1;
    for (int i = m_paths[size_t(from)].firstChild; i >= 0; i = m_paths[size_t(i)].nextSibling) {
        const TBlockInfo& path = m_paths[size_t(i)];
        if (path.blockIndex == child && path.delimiterIndex == delimiter && path.resumeConstruct == resumeConstruct &&
            path.resumeToken == resumeToken)
            return i;
    }
    if (int(m_paths.size()) >= LineState::kMaxPaths)
        return -1;
    TBlockInfo path;
    path.blockIndex = child;
    path.delimiterIndex = delimiter;
    path.next = from;
    path.partOfBlock = partOfBlock;
    path.caseSensitive = caseSensitive;
    path.resumeConstruct = resumeConstruct;
    path.resumeToken = resumeToken;
    const TCompiledBlock& block = m_compiled[size_t(child)];
    if (delimiter >= 0 && size_t(delimiter) < block.closings.size() && !block.closings[size_t(delimiter)].right.empty()) {
        const std::string& right = block.closings[size_t(delimiter)].right;
        path.closing = &right;
        path.closeLength = int(right.size());
        path.closesInTokens = block.closings[size_t(delimiter)].inTokens;
        path.closeEscape = block.closings[size_t(delimiter)].escape;
        // The block compares a text it read itself; the parent's closing
        // text is compared as the root block compares.
        const uchar c = uchar(partOfBlock ? right.back() : right.front());
        const bool exact = partOfBlock ? block.caseSensitive : m_compiled[0].caseSensitive;
        path.closeChar = path.closeCharOtherCase = c;
        if (!exact && unsigned((c | 0x20) - 'a') < 26u)
            path.closeCharOtherCase = uchar(c ^ 0x20);
    }
    SetTriggers(path);
    path.nextSibling = m_paths[size_t(from)].firstChild;
    m_paths.push_back(path);
    const int index = int(m_paths.size()) - 1;
    m_paths[size_t(from)].firstChild = index;
    return index;
}

void TSyntaxScheme::SetTriggers(TBlockInfo& path) const
{
    const TCompiledBlock& block = m_compiled[size_t(path.blockIndex)];
    TCharSet before = block.openAfterLast;
    TCharSet at = block.openHereFirst;
    if (path.closing) {
        TCharSet& set = path.partOfBlock ? before : at;
        set.Add(path.closeChar);
        set.Add(path.closeCharOtherCase);
    }
    for (int c = 0; c < 256; ++c) {
        path.trigger[size_t(c)] = uchar((at.Has(uchar(c)) ? TBlockInfo::kTriggerAt : 0) |
                                        (before.Has(uchar(c)) ? TBlockInfo::kTriggerBefore : 0));
    }
    path.breakBefore = block.tokenOpenAfterLast;
    path.breakAt = block.tokenOpenHereFirst;
    if (path.closing && path.closesInTokens) {
        // Inside a token the closing text is looked for where it starts.
        const uchar c = uchar(path.closing->front());
        const bool exact = path.partOfBlock ? block.caseSensitive : m_compiled[0].caseSensitive;
        path.breakAt.Add(c);
        if (!exact && unsigned((c | 0x20) - 'a') < 26u)
            path.breakAt.Add(uchar(c ^ 0x20));
    }
    for (int c = 0; c < 256; ++c)
        path.breakAny[size_t(c)] = path.breakAt.Has(uchar(c)) || path.breakBefore.Has(uchar(c));
    path.hasBreaks = !path.breakAt.IsEmpty() || !path.breakBefore.IsEmpty();
}

int TSyntaxScheme::PopPath(int from) const
{
    if (from <= 0 || from >= int(m_paths.size()))
        return 0;
    const int next = m_paths[size_t(from)].next;
    return next < 0 ? 0 : next;
}
