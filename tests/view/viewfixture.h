#pragma once

#include "dcmemo.h"
#include "common/fakeservices.h"
#include "memosource.h"
#include "simpleparser.h"
#include "sourcestrings.h"

#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

// A parser for the view tests: the words "class", "public" and "int" get
// attribute 6 (the "Reserved words" style), text from "/*" to "*/" attribute
// 2 ("Comment"; the line state 1 carries it to the next line), everything
// else 0.
class TKeywordParser : public TSimpleParser {
public:
    static constexpr int kKeyword = 6;
    static constexpr int kComment = 2;

    quint32 ParseLine(std::string_view text, quint32 state, uchar* attrs) override
    {
        size_t i = 0;
        while (i < text.size()) {
            if (state == 1 || text.substr(i, 2) == "/*") {
                const size_t end = text.find("*/", state == 1 ? i : i + 2);
                const size_t stop = end == std::string_view::npos ? text.size() : end + 2;
                std::fill(attrs + i, attrs + stop, uchar(kComment));
                state = end == std::string_view::npos ? 1 : 0;
                i = stop;
                continue;
            }
            size_t j = i;
            while (j < text.size() && std::isalpha(uchar(text[j])))
                ++j;
            if (j > i) {
                const std::string_view word = text.substr(i, j - i);
                const bool keyword = word == "class" || word == "public" || word == "int";
                for (size_t k = i; k < j; ++k)
                    attrs[k] = keyword ? kKeyword : 0;
                i = j;
            } else {
                attrs[i++] = 0;
            }
        }
        ++parsedLines;
        return state;
    }

    int parsedLines = 0;
};

// Records the regions of the paint events a widget receives.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) : m_widget(widget) { widget->installEventFilter(this); }
    ~PaintRecorder() override { m_widget->removeEventFilter(this); }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (object == m_widget && event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }

    QRegion painted;

private:
    QWidget* m_widget;
};

// A control with the application's settings, a fixed size and a fixed
// palette, ready to be rendered.
class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        memo = std::make_unique<TDCMemo>();
        memo->ApplyApplicationDefaults();
        memo->SetScrollBars(ssNone);
        memo->SetBorderStyle(bsNone);
        memo->resize(400, 300);
        memo->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(memo.get()));
        // Tests that need the focus take it themselves.
        memo->clearFocus();
    }

    void SetText(const QByteArray& text) { memo->MemoSource()->SetTextStr(text); }

    QImage Render() { return memo->RenderToImage(); }

    // The colour of a pixel as 0xRRGGBB.
    static quint32 Rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffffu; }

    // Whether any pixel of a rectangle has the colour.
    static bool Has(const QImage& image, const QRect& rect, quint32 rgb)
    {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                if (Rgb(image, x, y) == rgb)
                    return true;
            }
        }
        return false;
    }

    // Whether text in colour ink was drawn over background in a rectangle:
    // some pixel lies at least half way from the background towards the ink,
    // on the line between them (antialiased edges blend the two).
    static bool HasInk(const QImage& image, const QRect& rect, quint32 ink, quint32 background)
    {
        auto channel = [](quint32 rgb, int shift) { return int((rgb >> shift) & 0xff); };
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const quint32 p = Rgb(image, x, y);
                double coverage = -1;
                bool onLine = true;
                for (int shift : {0, 8, 16}) {
                    const int b = channel(background, shift), i = channel(ink, shift), v = channel(p, shift);
                    if (b == i) {
                        onLine = onLine && std::abs(v - b) <= 24;
                        continue;
                    }
                    const double a = double(v - b) / double(i - b);
                    if (coverage < 0)
                        coverage = a;
                    onLine = onLine && std::abs(a - coverage) <= 0.15;
                }
                if (onLine && coverage >= 0.5)
                    return true;
            }
        }
        return false;
    }

    // The cell of a column on a row, in client pixels.
    QRect Cell(int row, int column)
    {
        const int cw = memo->CharWidth();
        return QRect(memo->TextLeft() + (column - memo->LeftColumn()) * cw, row * memo->LineHeight(), cw,
                     memo->LineHeight());
    }

    TFakeServices services;
    std::unique_ptr<TDCMemo> memo;
};
