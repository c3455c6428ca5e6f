#include "searchdialoghook.h"

#include "finddialog.h"
#include "gotolinedialog.h"
#include "replacedialog.h"

#include <QPointer>
#include <QWidget>

TCustomMemoSource::TCreateDialogEvent SearchDialogHook(QWidget* parent, const QString& helpFile)
{
    QPointer<QWidget> owner(parent);
    return [owner, helpFile](TCustomMemoSource&, TDialogKind kind, TSearchOptions& options, int& line) {
        switch (kind) {
        case dkFind: {
            TFindDialog dialog(helpFile, owner);
            return dialog.Execute(options);
        }
        case dkReplace: {
            TReplaceDialog dialog(helpFile, owner);
            return dialog.Execute(options);
        }
        case dkGotoLine: {
            TGotoLineDialog dialog(helpFile, owner);
            return dialog.Execute(line);
        }
        }
        return false;
    };
}
