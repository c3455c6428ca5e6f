// Element rules (see htmlelements.h). The rules look at names by their id:
// what a name is is worked out once per name met and kept, so that a walk
// over the elements of a large page compares numbers.

#include "htmlelements.h"

#include <QByteArray>

#include <atomic>
#include <mutex>
#include <string_view>
#include <unordered_map>

namespace {

enum TElementFlag : quint8 {
    efVoid = 1,
    efBlock = 2,    // ends an open p
    efGroup = 4,    // ends without its closing tag (optional end tag)
    efKnown = 128,
};

// The optional-end elements by name, for the rules that say which of them
// an opening ends.
enum TRole : quint8 { erOther, erP, erLi, erDt, erDd, erTd, erTh, erTr, erTbody, erThead, erTfoot, erOption, erOptgroup };

constexpr quint16 bit(TRole role)
{
    return quint16(1u << role);
}

// The optional-end elements an opening ends beside its own name: dt/dd,
// td/th, the table sections, tr and options.
bool sameGroup(TRole opening, TRole top)
{
    const quint16 openings = bit(opening);
    const quint16 tops = bit(top);
    const quint16 terms = bit(erDt) | bit(erDd);
    const quint16 cells = bit(erTd) | bit(erTh);
    const quint16 sections = bit(erTbody) | bit(erTfoot) | bit(erThead);
    if ((openings & terms) && (tops & terms))
        return true;
    if ((openings & cells) && (tops & cells))
        return true;
    if ((openings & sections) && (tops & (bit(erTbody) | bit(erThead) | bit(erTr) | cells)))
        return true;
    if (opening == erTr && (tops & cells))
        return true;
    return (openings & (bit(erOption) | bit(erOptgroup))) && top == erOption;
}

// What a name is: its flags in the low byte, its role in the high one.
quint16 classify(std::string_view name)
{
    static const std::string_view kVoid[] = {"area",   "base", "br",    "col",  "embed",  "hr",     "img",
                                             "input",  "link", "meta",  "param", "source", "track", "wbr",
                                             "keygen", "command", "basefont", "frame", "isindex"};
    static const std::string_view kBlock[] = {
        "address", "article", "aside",  "blockquote", "details", "div",    "dl",  "fieldset", "figcaption",
        "figure",  "footer",  "form",   "h1",         "h2",      "h3",     "h4",  "h5",       "h6",
        "header",  "hgroup",  "hr",     "main",       "menu",    "nav",    "ol",  "p",        "pre",
        "section", "table",   "ul"};
    struct TGroupMember {
        std::string_view name;
        TRole role;
    };
    static const TGroupMember kGroup[] = {{"li", erLi},         {"p", erP},           {"dt", erDt},
                                          {"dd", erDd},         {"option", erOption}, {"optgroup", erOptgroup},
                                          {"tr", erTr},         {"td", erTd},         {"th", erTh},
                                          {"thead", erThead},   {"tbody", erTbody},   {"tfoot", erTfoot}};
    quint8 flags = efKnown;
    TRole role = erOther;
    for (std::string_view item : kVoid)
        flags |= name == item ? efVoid : 0;
    for (std::string_view item : kBlock)
        flags |= name == item ? efBlock : 0;
    for (const TGroupMember& member : kGroup) {
        if (name == member.name) {
            flags |= efGroup;
            role = member.role;
        }
    }
    return quint16(flags | role << 8);
}

struct TRuleCache {
    std::mutex mutex;
    std::unordered_map<quint32, quint16> kinds;
};

TRuleCache& cache()
{
    static TRuleCache* const rules = new TRuleCache;
    return *rules;
}

// What the names given out first are (those a text uses most), read by
// every thread without the lock; 0 while not worked out.
constexpr quint32 kQuickNames = 4096;
std::atomic<quint16> quickKinds[kQuickNames];

quint16 kindOf(quint32 name)
{
    if (name < kQuickNames) {
        if (const quint16 kind = quickKinds[name].load(std::memory_order_relaxed))
            return kind;
    }
    TRuleCache& rules = cache();
    std::lock_guard lock(rules.mutex);
    auto it = rules.kinds.find(name);
    if (it == rules.kinds.end()) {
        const QByteArray text = TStructureNames::Shared().Text(name);
        it = rules.kinds.emplace(name, classify(std::string_view(text.constData(), size_t(text.size())))).first;
    }
    if (name < kQuickNames)
        quickKinds[name].store(it->second, std::memory_order_relaxed);
    return it->second;
}

quint8 flagsOf(quint32 name)
{
    return quint8(kindOf(name));
}

TRole roleOf(quint16 kind)
{
    return TRole(kind >> 8);
}

} // namespace

bool HtmlElements::IsVoid(quint32 name)
{
    return flagsOf(name) & efVoid;
}

bool HtmlElements::OpenEnds(quint32 opening, quint32 top)
{
    const quint16 topKind = kindOf(top);
    if (!(topKind & efGroup))
        return false;
    if (opening == top)
        return true;
    const quint16 openingKind = kindOf(opening);
    if (roleOf(topKind) == erP)
        return openingKind & efBlock;
    return sameGroup(roleOf(openingKind), roleOf(topKind));
}

bool HtmlElements::EndsWithoutTag(quint32 name)
{
    return flagsOf(name) & efGroup;
}

bool HtmlElements::Inert(quint32 name)
{
    const quint8 flags = flagsOf(name);
    return !(flags & (efGroup | efBlock | efVoid));
}

void TStructureStack::EndTop(bool explicitEnd, int line, const TStructureEvent& by, const TEnded& ended)
{
    const TItem item = m_items.back();
    m_items.pop_back();
    if (ended)
        ended(item, explicitEnd, line, by);
}

void TStructureStack::Apply(const TStructureEvent& event, int line, qint64 mark, const TEnded& ended)
{
    using namespace Structure;
    if (event.IsBracket() || event.kind == skRun)
        return;
    const bool tag = event.kind == skTag;
    if (tag && HtmlElements::IsVoid(event.name))
        return;
    switch (event.action) {
    case saOpen:
        while (tag && !m_items.empty() && m_items.back().kind == skTag &&
               HtmlElements::OpenEnds(event.name, m_items.back().name))
            EndTop(false, line, event, ended);
        m_items.push_back(TItem{quint8(event.kind), event.name, event.column, line, mark});
        return;
    case saClose: {
        // The nearest open item it closes; comments match any comment.
        size_t i = m_items.size();
        while (i > 0) {
            const TItem& item = m_items[i - 1];
            if (item.kind == event.kind && (event.kind == skComment || item.name == event.name))
                break;
            --i;
        }
        if (i == 0)
            return;
        while (m_items.size() > i)
            EndTop(false, line, event, ended);
        EndTop(true, line, event, ended);
        return;
    }
    case saSelfClose:
        if (!m_items.empty() && m_items.back().kind == skTag)
            EndTop(true, line, event, ended);
        return;
    default:
        return;
    }
}
