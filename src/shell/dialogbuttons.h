#pragma once

#include <QWidget>

#include <vector>

class QPushButton;

// The row of buttons at the foot of a dialog: buttons of one size at fixed
// places 80 pixels apart, the last one at the right edge. A button that is
// hidden (Help, when the program has no help to show) gives its place up:
// the buttons left of it move 80 pixels right.
class TDialogButtonRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kButtonWidth = 75;
    static constexpr int kButtonHeight = 25;
    static constexpr int kPitch = 80;

    explicit TDialogButtonRow(QWidget* parent = nullptr);

    // Adds a button at the right of the row, named name.
    QPushButton* Add(const QString& name, const QString& caption);
    // Shows or hides a button and puts every button in its place.
    void SetButtonVisible(QPushButton* button, bool visible);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Place();

    std::vector<QPushButton*> m_buttons;
};
