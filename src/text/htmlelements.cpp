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

// The optional-end elements an opening ends: the same name, or one of its
// group (dt/dd, td/th, the table sections).
bool sameGroup(std::string_view opening, std::string_view top)
{
    auto in = [](std::string_view name, std::initializer_list<std::string_view> group) {
        for (std::string_view item : group) {
            if (name == item)
                return true;
        }
        return false;
    };
    if (opening == top)
        return true;
    if (in(opening, {"dt", "dd"}) && in(top, {"dt", "dd"}))
        return true;
    if (in(opening, {"td", "th"}) && in(top, {"td", "th"}))
        return true;
    if (in(opening, {"tbody", "tfoot", "thead"}) && in(top, {"tbody", "thead", "tr", "td", "th"}))
        return true;
    if (opening == "tr" && in(top, {"td", "th"}))
        return true;
    if (in(opening, {"option", "optgroup"}) && top == "option")
        return true;
    return false;
}

quint8 classify(std::string_view name)
{
    static const std::string_view kVoid[] = {"area",   "base", "br",    "col",  "embed",  "hr",     "img",
                                             "input",  "link", "meta",  "param", "source", "track", "wbr",
                                             "keygen", "command", "basefont", "frame", "isindex"};
    static const std::string_view kBlock[] = {
        "address", "article", "aside",  "blockquote", "details", "div",    "dl",  "fieldset", "figcaption",
        "figure",  "footer",  "form",   "h1",         "h2",      "h3",     "h4",  "h5",       "h6",
        "header",  "hgroup",  "hr",     "main",       "menu",    "nav",    "ol",  "p",        "pre",
        "section", "table",   "ul"};
    static const std::string_view kGroup[] = {"li", "p", "dt", "dd", "option", "optgroup", "tr", "td", "th",
                                              "thead", "tbody", "tfoot"};
    quint8 flags = efKnown;
    for (std::string_view item : kVoid)
        flags |= name == item ? efVoid : 0;
    for (std::string_view item : kBlock)
        flags |= name == item ? efBlock : 0;
    for (std::string_view item : kGroup)
        flags |= name == item ? efGroup : 0;
    return flags;
}

struct TRuleCache {
    std::mutex mutex;
    std::unordered_map<quint32, quint8> flags;
};

TRuleCache& cache()
{
    static TRuleCache* const rules = new TRuleCache;
    return *rules;
}

// The flags of the names given out first (which are those a text uses
// most), read by every thread without the lock; 0 while not worked out.
constexpr quint32 kQuickNames = 4096;
std::atomic<quint8> quickFlags[kQuickNames];

quint8 flagsOf(quint32 name)
{
    if (name < kQuickNames) {
        if (const quint8 flags = quickFlags[name].load(std::memory_order_relaxed))
            return flags;
    }
    TRuleCache& rules = cache();
    std::lock_guard lock(rules.mutex);
    auto it = rules.flags.find(name);
    if (it == rules.flags.end()) {
        const QByteArray text = TStructureNames::Shared().Text(name);
        it = rules.flags.emplace(name, classify(std::string_view(text.constData(), size_t(text.size())))).first;
    }
    if (name < kQuickNames)
        quickFlags[name].store(it->second, std::memory_order_relaxed);
    return it->second;
}

} // namespace

bool HtmlElements::IsVoid(quint32 name)
{
    return flagsOf(name) & efVoid;
}

bool HtmlElements::OpenEnds(quint32 opening, quint32 top)
{
    const quint8 topFlags = flagsOf(top);
    if (!(topFlags & efGroup))
        return false;
    if (opening == top)
        return true;
    const QByteArray openingText = TStructureNames::Shared().Text(opening);
    const QByteArray topText = TStructureNames::Shared().Text(top);
    const std::string_view topName(topText.constData(), size_t(topText.size()));
    if (topName == "p")
        return flagsOf(opening) & efBlock;
    return sameGroup(std::string_view(openingText.constData(), size_t(openingText.size())), topName);
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
        m_items.push_back(TItem{event.kind, event.name, event.column, line, mark});
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
