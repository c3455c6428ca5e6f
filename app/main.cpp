#include "mainform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarnel"));

    // File names given on the command line are not opened.
    TMainForm mainForm;
    mainForm.showMaximized();
    return app.exec();
}
