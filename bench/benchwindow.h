#pragma once

// What the benchmarks of windows share beside the generated texts: the
// application they run in, the built-in Java parser and an editor shown on
// screen with the keyboard focus, as a user's window would be.

#include "benchutil.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "qtservices.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>
#include <vector>

namespace bench {

// Before the application is made: the offscreen platform unless one is
// named, and folders of their own for settings and data, so that a
// benchmark neither reads nor changes the user's.
inline bool PrepareWindowRun()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    return true;
}

// The application of a benchmark of windows, prepared as above, with the
// program's services in effect for its life.
class TWindowApp {
public:
    TWindowApp(int& argc, char** argv) : m_app(argc, argv) { SetServices(&m_services); }
    ~TWindowApp() { SetServices(nullptr); }
    TWindowApp(const TWindowApp&) = delete;
    TWindowApp& operator=(const TWindowApp&) = delete;

private:
    bool m_prepared = PrepareWindowRun();
    QApplication m_app;
    TQtServices m_services;
};

// The built-in Java scheme's parser; null, with the reason printed, when it
// cannot be made.
inline TSyntaxParser* JavaParser()
{
    QString error;
    TSyntaxParser* parser = CreateBuiltInParser(TBuiltInScheme::Java, nullptr, &error);
    if (!parser)
        std::fprintf(stderr, "%s\n", qPrintable(error));
    return parser;
}

// Shows memo at 1200 x 900 with the application's editor settings and gives
// it the keyboard focus; false when no window appeared.
inline bool ShowEditor(TDCMemo& memo)
{
    memo.ApplyApplicationDefaults();
    memo.resize(1200, 900);
    memo.show();
    if (!QTest::qWaitForWindowExposed(&memo))
        return false;
    memo.activateWindow();
    memo.setFocus();
    return true;
}

// Counts the paints a widget receives, to make sure a figure includes them.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    long paints = 0;
};

// Paints an editor's whole text area into an image of its size: the work of
// a repaint without the screen's.
class TImagePaint {
public:
    explicit TImagePaint(TDCMemo& memo)
        : m_memo(memo), m_image(memo.viewport()->size(), QImage::Format_ARGB32_Premultiplied)
    {
    }
    // Not copied: a copy would share the image and copy it on every paint.
    TImagePaint(const TImagePaint&) = delete;
    TImagePaint& operator=(const TImagePaint&) = delete;
    void operator()()
    {
        QPainter painter(&m_image);
        m_memo.PaintRect(painter, m_image.rect());
    }
    // The median milliseconds of 20 paints.
    double Repaints()
    {
        std::vector<double> times;
        for (int i = 0; i < 20; ++i)
            times.push_back(Milliseconds([this] { (*this)(); }));
        return Median(times);
    }

private:
    TDCMemo& m_memo;
    QImage m_image;
};

} // namespace bench
