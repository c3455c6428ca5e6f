#include "mainform.h"
#include "qtservices.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarnel"));

    TQtServices services;
    SetServices(&services);

    // File names given on the command line are not opened.
    TMainForm mainForm;
    mainForm.showMaximized();
    const int result = app.exec();
    SetServices(nullptr);
    return result;
}
