#include "dialogrunner.h"

#include <QDialog>

namespace {

TDialogRunner& installedRunner()
{
    static TDialogRunner runner;
    return runner;
}

} // namespace

int RunDialog(QDialog& dialog)
{
    if (const TDialogRunner& runner = installedRunner())
        return runner(dialog);
    return dialog.exec();
}

void SetDialogRunner(TDialogRunner runner)
{
    installedRunner() = std::move(runner);
}
