#pragma once

#include "searchoptions.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;

// The settings the find and replace dialogs share: the "Options" group of
// check boxes (with "&Wrap around") and the "Scope", "Origin" and
// "Direction" radio groups, laid out two by two. Read from and written to a
// search record.
class TSearchFields : public QWidget {
    Q_OBJECT

public:
    // regularCaption: the caption of the expression box, which differs
    // between the dialogs; withPrompt adds "&Prompt on replace".
    TSearchFields(const QString& regularCaption, bool withPrompt, QWidget* parent = nullptr);

    // Fills the fields: Backward selected for a backward search, scope item
    // 1 for the selected text, origin item 1 for the entire scope.
    void Load(const TSearchOptions& options);
    // Copies the fields into options: backward exactly when Backward is
    // selected, the selected text exactly when scope item 1 is chosen, the
    // entire scope exactly when origin item 1 is chosen.
    void Store(TSearchOptions& options) const;

private:
    QCheckBox* m_caseSensitive;
    QCheckBox* m_wholeWords;
    QCheckBox* m_regular;
    QCheckBox* m_prompt = nullptr;
    QCheckBox* m_wrap;
    QButtonGroup* m_scope;
    QButtonGroup* m_origin;
    QButtonGroup* m_direction;
};
