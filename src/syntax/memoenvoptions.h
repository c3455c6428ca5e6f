#pragma once

#include "component.h"
#include "memooption.h"
#include "notifierlist.h"
#include "textstyle.h"

#include <functional>

// The global editor options. Holds the process-wide text styles and the
// options of every editor control that uses the global settings, and tells
// every listener (every syntax parser with UseGlobalOptions, for one) when
// they change.
class TMemoEnvOptions : public TComponent {
    Q_OBJECT
    Q_PROPERTY(MemoOptionTypes::TMemoOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(TTextStyles* TextStyles READ TextStyles WRITE SetTextStyles)

public:
    Q_INVOKABLE explicit TMemoEnvOptions(TComponent* owner = nullptr);

    // The one instance of the process. It lives until the process ends, so
    // a listener may still remove itself while static objects are freed.
    static TMemoEnvOptions& Global();

    TMemoOptions Options() const { return m_options; }
    // A change is announced.
    void SetOptions(TMemoOptions options);

    // Filled with the default styles. Any change of the styles is announced;
    // changes made between the collection's BeginUpdate and EndUpdate are
    // announced once, at the end.
    TTextStyles* TextStyles() const { return m_textStyles; }
    // Copies the styles.
    void SetTextStyles(TTextStyles* styles);

    int AddListener(std::function<void()> listener) { return m_listeners.Add(std::move(listener)); }
    void RemoveListener(int handle) { m_listeners.Remove(handle); }
    // Announces a change of the global options to every listener.
    void Changed();

protected:
    void Loaded() override;

private:
    TMemoOptions m_options = kDefaultMemoOptions;
    TTextStyles* m_textStyles;
    TNotifierList<> m_listeners;
};
