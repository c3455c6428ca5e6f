// Modal dialogs through one door, which tests replace.

#include "modaldialogs.h"

#include <QDialog>

namespace {

ModalDialogs::THook& hook()
{
    static ModalDialogs::THook current;
    return current;
}

} // namespace

namespace ModalDialogs {

int Execute(QDialog& dialog)
{
    if (!hook())
        return dialog.exec();
    // A copy: the hook may install another one while it runs.
    const THook run = hook();
    dialog.setModal(true);
    dialog.show();
    run(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

THook SetHook(THook next)
{
    THook previous = std::move(hook());
    hook() = std::move(next);
    return previous;
}

} // namespace ModalDialogs
