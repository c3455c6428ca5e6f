#include "searchdialoghook.h"

#include "finddialog.h"
#include "gotolinedialog.h"
#include "replacedialog.h"

#include <QDir>
#include <QPointer>
#include <QWidget>

bool RunSearchDialog(TDialogKind kind, bool filesPage, QWidget* parent, const QString& helpFile,
                     const TFileSearchHooks& hooks, TSearchOptions& options)
{
    TFileSearchSettings files = TFileSearchSettings::Last();
    if (files.text.isEmpty())
        files.text = options.textToFind;
    if (files.replaceText.isEmpty())
        files.replaceText = options.replaceText;
    if (hooks.defaultFolder)
        files.folder = hooks.defaultFolder();
    TSearchTarget target = TSearchTarget::None;
    if (kind == dkReplace) {
        TReplaceDialog dialog(helpFile, parent);
        target = dialog.Execute(options, files, filesPage);
    } else {
        TFindDialog dialog(helpFile, parent);
        target = dialog.Execute(options, files, filesPage);
    }
    if (target == TSearchTarget::Files) {
        TFileSearchSettings::Last() = files;
        if (hooks.start)
            hooks.start(files, kind == dkReplace);
    }
    return target == TSearchTarget::Text;
}

TCustomMemoSource::TCreateDialogEvent SearchDialogHook(QWidget* parent, const QString& helpFile,
                                                       TFileSearchHooks hooks)
{
    QPointer<QWidget> owner(parent);
    return [owner, helpFile, hooks](TCustomMemoSource&, TDialogKind kind, TSearchOptions& options, int& line) {
        switch (kind) {
        case dkFind:
        case dkReplace: return RunSearchDialog(kind, false, owner, helpFile, hooks, options);
        case dkGotoLine: {
            TGotoLineDialog dialog(helpFile, owner);
            return dialog.Execute(line);
        }
        }
        return false;
    };
}
