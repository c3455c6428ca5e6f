#include "globalstyles.h"

#include "memoenvoptions.h"
#include "textstyle.h"

namespace GlobalStyles {

bool Find(const QString& name, TLook& look)
{
    const TTextStyle* style = TMemoEnvOptions::Global().TextStyles()->Find(name);
    if (!style)
        return false;
    // The style's own font colour and style; the background as painted,
    // which follows the editor's colour while the style says so.
    look.fontColor = style->Font().Color();
    look.fontStyle = style->Font().Style();
    look.backColor = style->EffectiveColor();
    return true;
}

void Listen(std::function<void()> notice)
{
    TMemoEnvOptions::Global().AddListener(std::move(notice));
}

} // namespace GlobalStyles
