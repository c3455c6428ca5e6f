#include "memosourceoptions.h"

#include "memosource.h"
#include "services.h"
#include "settingsstore.h"
#include "tabstops.h"

#include <algorithm>

namespace {

const QString kKeepTrailingBlanks = QStringLiteral("KeepTrailingBlanks");
const QString kCloseTags = QStringLiteral("CloseTags");
const QString kCloseBrackets = QStringLiteral("CloseBrackets");
const QString kOptions = QStringLiteral("Options");
const QString kTabStops = QStringLiteral("TabStops");
const QString kDelimeters = QStringLiteral("Delimeters");
const QString kBlockIndent = QStringLiteral("BlockIndent");

// Every bit a stored option set may hold.
constexpr quint32 kAllOptions = (1u << 18) - 1;

} // namespace

TMemoSourceOptions::TMemoSourceOptions(TComponent* owner)
    : TComponent(owner), m_options(Defaults::kOptions), m_tabStops(Defaults::kTabStops),
      m_delimeters(Defaults::kDelimeters)
{
}

TMemoSourceOptions& TMemoSourceOptions::Global()
{
    static TMemoSourceOptions options;
    return options;
}

void TMemoSourceOptions::SetKeepTrailingBlanks(bool keep)
{
    if (m_keepTrailingBlanks == keep)
        return;
    m_keepTrailingBlanks = keep;
    Changed();
}

void TMemoSourceOptions::SetCloseTags(bool on)
{
    if (m_closeTags == on)
        return;
    m_closeTags = on;
    Changed();
}

void TMemoSourceOptions::SetCloseBrackets(bool on)
{
    if (m_closeBrackets == on)
        return;
    m_closeBrackets = on;
    Changed();
}

void TMemoSourceOptions::SetOptions(TStringsOptions options)
{
    if (options.testFlag(soUseTabCharacter) && !m_options.testFlag(soUseTabCharacter))
        options &= ~TStringsOptions(soSmartTab);
    else if (m_options.testFlag(soUseTabCharacter) && options.testFlag(soSmartTab))
        options &= ~TStringsOptions(soUseTabCharacter);
    if (m_options == options)
        return;
    m_options = options;
    Changed();
}

void TMemoSourceOptions::SetTabStops(const QString& tabStops)
{
    if (m_tabStops == tabStops)
        return;
    TTabStops().Set(tabStops);
    m_tabStops = tabStops;
    Changed();
}

void TMemoSourceOptions::SetDelimeters(const QString& delimeters)
{
    if (m_delimeters == delimeters)
        return;
    m_delimeters = delimeters;
    Changed();
}

void TMemoSourceOptions::SetBlockIndent(int indent)
{
    indent = std::max(0, indent);
    if (m_blockIndent == indent)
        return;
    m_blockIndent = indent;
    Changed();
}

void TMemoSourceOptions::Assign(const TMemoSourceOptions& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    SetKeepTrailingBlanks(source.m_keepTrailingBlanks);
    if (m_options != source.m_options) {
        m_options = source.m_options;
        Changed();
    }
    SetTabStops(source.m_tabStops);
    SetDelimeters(source.m_delimeters);
    SetBlockIndent(source.m_blockIndent);
    SetCloseTags(source.m_closeTags);
    SetCloseBrackets(source.m_closeBrackets);
    EndUpdate();
}

bool TMemoSourceOptions::operator==(const TMemoSourceOptions& other) const
{
    return m_keepTrailingBlanks == other.m_keepTrailingBlanks && m_options == other.m_options
           && m_tabStops == other.m_tabStops && m_delimeters == other.m_delimeters
           && m_blockIndent == other.m_blockIndent && m_closeTags == other.m_closeTags
           && m_closeBrackets == other.m_closeBrackets;
}

void TMemoSourceOptions::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0 && m_changedDuringUpdate) {
        m_changedDuringUpdate = false;
        Changed();
    }
}

void TMemoSourceOptions::Changed()
{
    if (m_updateCount > 0) {
        m_changedDuringUpdate = true;
        return;
    }
    if (this == &Global()) {
        // A copy: a store may come or go while another one takes the change.
        const std::vector<TCustomMemoSource*> stores = TCustomMemoSource::Instances();
        for (TCustomMemoSource* store : stores) {
            if (store->UseGlobalOptions())
                store->ApplyGlobalOptions();
        }
    }
    m_listeners.Notify();
}

void TMemoSourceOptions::Load()
{
    const TSettingsStore& store = Services().Settings();
    BeginUpdate();
    SetKeepTrailingBlanks(store.ReadBool(kKey, kKeepTrailingBlanks, m_keepTrailingBlanks));
    SetCloseTags(store.ReadBool(kKey, kCloseTags, m_closeTags));
    SetCloseBrackets(store.ReadBool(kKey, kCloseBrackets, m_closeBrackets));

    bool ok = false;
    const quint32 bits = store.ReadString(kKey, kOptions, &ok).trimmed().toUInt(&ok);
    if (ok && (bits & ~kAllOptions) == 0)
        SetOptions(TStringsOptions::fromInt(bits));

    const QString tabStops = store.ReadString(kKey, kTabStops, &ok);
    if (ok) {
        try {
            SetTabStops(tabStops);
        } catch (const EInvalidTabRack&) {
            // A damaged list keeps the one in use.
        }
    }

    const QString delimeters = store.ReadString(kKey, kDelimeters, &ok);
    if (ok)
        SetDelimeters(delimeters);

    const int indent = store.ReadString(kKey, kBlockIndent, &ok).trimmed().toInt(&ok);
    if (ok && indent >= 0)
        SetBlockIndent(indent);
    EndUpdate();
}

void TMemoSourceOptions::Save() const
{
    TSettingsStore& store = Services().Settings();
    store.WriteBool(kKey, kKeepTrailingBlanks, m_keepTrailingBlanks);
    store.WriteBool(kKey, kCloseTags, m_closeTags);
    store.WriteBool(kKey, kCloseBrackets, m_closeBrackets);
    store.WriteString(kKey, kOptions, QString::number(m_options.toInt()));
    store.WriteString(kKey, kTabStops, m_tabStops);
    store.WriteString(kKey, kDelimeters, m_delimeters);
    store.WriteInteger(kKey, kBlockIndent, m_blockIndent);
}

// -- the text store's side -------------------------------------------------------

void TCustomMemoSource::SetUseGlobalOptions(bool use)
{
    m_useGlobalOptions = use;
    if (use)
        ApplyGlobalOptions();
}

void TCustomMemoSource::ApplyGlobalOptions()
{
    const TMemoSourceOptions& global = TMemoSourceOptions::Global();
    SetOptions(global.Options());
    if (TabStops() != global.TabStops())
        SetTabStops(global.TabStops());
    if (Delimeters() != global.Delimeters())
        SetDelimeters(global.Delimeters());
    SetBlockIndent(global.BlockIndent());
    SetKeepTrailingBlanks(global.KeepTrailingBlanks());
    SetCloseTags(global.CloseTags());
    SetCloseBrackets(global.CloseBrackets());
}
