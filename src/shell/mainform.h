#pragma once

#include <QMainWindow>

// The main window: one editor control, the document tabs, menus and bars.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
};
