#pragma once

#include "pickfileform.h"

// "Load Template...": the templates ("*.tpl") of a folder.
class TTemplateForm : public TPickFileForm {
    Q_OBJECT

public:
    explicit TTemplateForm(QWidget* parent = nullptr);

    // Lists folder and shows the dialog modally; true when confirmed with a
    // name.
    bool Execute(const QString& folder);
    // The picked entry's name (no folder).
    QString SelectedItem() const;
};
