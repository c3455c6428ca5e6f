#pragma once

#include <QDialog>

// The about box: the program's name, version and author, closed with OK.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);
};
