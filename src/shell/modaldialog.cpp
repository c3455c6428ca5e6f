#include "modaldialog.h"

#include <QDialog>

namespace {

ModalDialog::THook& hook()
{
    static ModalDialog::THook installed;
    return installed;
}

} // namespace

bool ModalDialog::Execute(QDialog& dialog)
{
    if (hook())
        return hook()(dialog);
    return dialog.exec() == QDialog::Accepted;
}

void ModalDialog::SetHook(THook hook_)
{
    hook() = std::move(hook_);
}
