#include "mainform.h"

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Tarnel version 0.9.1 - beta"));
}
