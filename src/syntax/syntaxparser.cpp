#include "syntaxparser.h"

#include "globalstyles.h"
#include "linestate.h"

#include <algorithm>

namespace {

// Never destroyed: a parser that is a static of its own (or owned by one)
// may be destroyed after any other static, and still unregisters itself.
std::vector<TSyntaxParser*>& Registry()
{
    static auto* parsers = new std::vector<TSyntaxParser*>;
    return *parsers;
}

} // namespace

TSyntaxParser::TSyntaxParser(TComponent* owner)
    : TSimpleParser(owner), m_scheme(new TSyntaxScheme(this)), m_defaultAttr(new TDefAttrItem())
{
    m_defaultAttr->setParent(this);
    m_defaultAttr->SetParser(this);
    static const bool listening = [] {
        GlobalStyles::Listen([] { TSyntaxParser::GlobalOptionsChanged(); });
        return true;
    }();
    (void)listening;
    Registry().push_back(this);
    // The scheme is compiled when loading ends or a scheme is assigned (a
    // stream without a version must still find version 1 then); until
    // then lines are left plain, painted with resolved fonts.
    m_scheme->ResolveFonts();
}

TSyntaxParser::~TSyntaxParser()
{
    auto& parsers = Registry();
    parsers.erase(std::remove(parsers.begin(), parsers.end(), this), parsers.end());
    m_defaultAttr->SetParser(nullptr);
}

const std::vector<TSyntaxParser*>& TSyntaxParser::Instances() { return Registry(); }

void TSyntaxParser::GlobalOptionsChanged()
{
    const std::vector<TSyntaxParser*> parsers = Registry();
    for (TSyntaxParser* parser : parsers) {
        const auto& alive = Registry();
        if (std::find(alive.begin(), alive.end(), parser) != alive.end() && parser->UseGlobalOptions())
            parser->UpdateFonts();
    }
}

void TSyntaxParser::SetSyntaxScheme(TSyntaxScheme* scheme)
{
    if (!scheme || scheme == m_scheme)
        return;
    // Assign rebuilds through RebuildScheme once both lists are copied.
    LockUpdate();
    m_scheme->Clear();
    UnlockUpdate();
    m_scheme->Assign(*scheme);
}

void TSyntaxParser::SetDefaultAttr(TDefAttrItem* attr)
{
    if (!attr || attr == m_defaultAttr)
        return;
    LockUpdate();
    m_defaultAttr->Assign(*attr);
    UnlockUpdate();
    UpdateFonts();
}

void TSyntaxParser::SetUseGlobalOptions(bool use)
{
    if (use == m_scheme->UseGlobalOptions())
        return;
    m_scheme->SetUseGlobalOptions(use);
    UpdateFonts();
}

void TSyntaxParser::RebuildScheme()
{
    m_scheme->Compile();
    m_collected.clear();
}

void TSyntaxParser::UpdateFonts()
{
    if (m_updateLock > 0 || IsLoading())
        return;
    m_scheme->ResolveFonts();
    NotifyListeners();
}

void TSyntaxParser::UnlockUpdate()
{
    if (m_updateLock > 0)
        --m_updateLock;
}

void TSyntaxParser::Loaded()
{
    RebuildScheme();
}

const TAttrItem& TSyntaxParser::AttrFor(int attr) const
{
    if (const TAttrItem* item = m_scheme->AttrTable(attr))
        return *item;
    return m_scheme->FallbackAttr();
}

const TFont* TSyntaxParser::GetAttrFont(int attr) const
{
    return &AttrFor(attr).EffectiveFont();
}

bool TSyntaxParser::GetAttrBackColor(int attr, TColor& color) const
{
    color = AttrFor(attr).EffectiveBackColor();
    return true;
}

std::unique_ptr<TSimpleParser> TSyntaxParser::CreateWorkerCopy() const
{
    // Reporting tokens changes what the scanner frees where, and a parser
    // still loading parses nothing yet: neither is copied.
    if (OnGetToken || IsLoading() || !m_scheme->IsCompiled())
        return nullptr;
    auto copy = std::make_unique<TSyntaxParser>();
    copy->SetSyntaxScheme(m_scheme);
    if (!copy->m_scheme->IsCompiled() || copy->m_scheme->CompiledBlocks().size() != m_scheme->CompiledBlocks().size())
        return nullptr;
    return copy;
}

bool TSyntaxParser::TakeWorkerStates(const TSimpleParser& copy, quint32* states, size_t count)
{
    const auto* worker = qobject_cast<const TSyntaxParser*>(&copy);
    if (!worker || worker == this)
        return false;
    const std::vector<TBlockInfo>& theirs = worker->m_scheme->BlockPaths();
    // Paths the copy met only because it started in a guessed state would
    // use up room a parse here might need later: when the two together come
    // near the limit, nothing is taken.
    if (theirs.size() + m_scheme->BlockPaths().size() > size_t(LineState::kMaxPaths / 2))
        return false;
    std::vector<int> mine(theirs.size(), -1);
    if (!mine.empty())
        mine[0] = 0;
    // A path's parent was made before it, so one pass in order finds every
    // parent already taken over.
    for (size_t i = 1; i < theirs.size(); ++i) {
        const TBlockInfo& path = theirs[i];
        if (path.next < 0 || size_t(path.next) >= i || mine[size_t(path.next)] < 0)
            return false;
        mine[i] = m_scheme->PushPath(mine[size_t(path.next)], path.blockIndex, path.delimiterIndex, path.partOfBlock,
                                     path.caseSensitive, path.resumeConstruct, path.resumeToken);
        if (mine[i] < 0)
            return false;
    }
    for (size_t i = 0; i < count; ++i) {
        const int path = LineState::Path(states[i]);
        if (size_t(path) >= mine.size())
            return false;
        states[i] = (states[i] & ~LineState::kPathMask) | (quint32(mine[size_t(path)]) << LineState::kPathShift);
    }
    return true;
}
