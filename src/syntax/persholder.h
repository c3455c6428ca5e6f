#pragma once

#include "component.h"
#include "textstyle.h"

// The component a colour-style file is the stream of: the file holds the
// styles as its collection property P.
//
//   object PersHolder: TPersHolder
//     P = <
//       item
//         Name = 'Whitespace'
//         ...
//       end>
//   end
class TPersHolder : public TComponent {
    Q_OBJECT
    Q_PROPERTY(TTextStyles* P READ P WRITE SetP USER true)

public:
    Q_INVOKABLE explicit TPersHolder(TComponent* owner = nullptr);

    TTextStyles* P() const { return m_styles; }
    // Copies the styles.
    void SetP(TTextStyles* styles);

private:
    TTextStyles* m_styles;
};
