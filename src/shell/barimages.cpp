#include "barimages.h"

#include <QFont>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

using TDraw = std::function<void(QPainter&)>;

const QColor kInk(0x20, 0x20, 0x20);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kBlue(0x10, 0x40, 0xa0);
const QColor kRed(0xc0, 0x10, 0x10);
const QColor kGreen(0x10, 0x80, 0x20);
const QColor kYellow(0xe8, 0xc0, 0x40);

void page(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
}

void lines(QPainter& p, qreal left, qreal top, const QList<qreal>& widths, qreal step = 3)
{
    p.setPen(QPen(kInk, 1));
    qreal y = top;
    for (qreal width : widths) {
        p.drawLine(QPointF(left, y), QPointF(left + width, y));
        y += step;
    }
}

TDraw text(const QString& glyph, const QColor& color, bool bold = false, bool italic = false, bool underline = false,
           int pixelSize = 11)
{
    return [=](QPainter& p) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(pixelSize);
        font.setBold(bold);
        font.setItalic(italic);
        font.setUnderline(underline);
        p.setFont(font);
        p.setPen(color);
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, glyph);
    };
}

TDraw aligned(Qt::Alignment align)
{
    return [=](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        const qreal widths[] = {12, 8, 12, 6};
        for (int i = 0; i < 4; ++i) {
            const qreal w = widths[i];
            const qreal left = align == Qt::AlignLeft ? 2 : align == Qt::AlignRight ? 14 - w : 8 - w / 2;
            p.drawLine(QPointF(left, 3.5 + i * 3), QPointF(left + w, 3.5 + i * 3));
        }
    };
}

TDraw grid(int highlightRow, int highlightColumn)
{
    return [=](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kYellow);
        if (highlightRow >= 0)
            p.drawRect(QRectF(2, 2 + highlightRow * 4, 12, 4));
        if (highlightColumn >= 0)
            p.drawRect(QRectF(2 + highlightColumn * 4, 2, 4, 12));
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i <= 3; ++i) {
            p.drawLine(QPointF(2.5, 2.5 + i * 4), QPointF(14.5, 2.5 + i * 4));
            p.drawLine(QPointF(2.5 + i * 4, 2.5), QPointF(2.5 + i * 4, 14.5));
        }
    };
}

TDraw arrow(bool redo)
{
    return [=](QPainter& p) {
        p.setPen(QPen(kBlue, 2));
        p.setBrush(Qt::NoBrush);
        const QRectF arc(3, 4, 10, 9);
        p.drawArc(arc, redo ? 0 : 180 * 16, redo ? 180 * 16 : -180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        const qreal x = redo ? 13 : 3;
        QPolygonF head;
        head << QPointF(x - 3, 8) << QPointF(x + 3, 8) << QPointF(x, 12);
        p.drawPolygon(head);
    };
}

const QHash<QString, TDraw>& drawings()
{
    static const QHash<QString, TDraw> table = {
        {"cmdNew", [](QPainter& p) { page(p, QRectF(3.5, 1.5, 9, 13)); }},
        {"cmdOpen",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kYellow);
             QPolygonF folder;
             folder << QPointF(1.5, 4.5) << QPointF(6.5, 4.5) << QPointF(7.5, 6.5) << QPointF(14.5, 6.5)
                    << QPointF(14.5, 13.5) << QPointF(1.5, 13.5);
             p.drawPolygon(folder);
         }},
        {"cmdClose",
         [](QPainter& p) {
             page(p, QRectF(2.5, 1.5, 9, 13));
             p.setPen(QPen(kRed, 2));
             p.drawLine(QPointF(8, 8), QPointF(14, 14));
             p.drawLine(QPointF(14, 8), QPointF(8, 14));
         }},
        {"cmdSave",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kBlue);
             p.drawRect(QRectF(2.5, 2.5, 11, 11));
             p.setBrush(kPaper);
             p.drawRect(QRectF(4.5, 2.5, 7, 4));
             p.drawRect(QRectF(5.5, 9.5, 5, 4));
         }},
        {"cmdSearch",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.5));
             p.setBrush(QColor(0xd0, 0xe8, 0xff));
             p.drawEllipse(QRectF(2, 2, 8, 8));
             p.setPen(QPen(kInk, 2.5));
             p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
         }},
        {"cmdPrint",
         [](QPainter& p) {
             page(p, QRectF(4.5, 1.5, 7, 6));
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(0xb0, 0xb0, 0xb0));
             p.drawRect(QRectF(1.5, 7.5, 13, 5));
             p.setBrush(kPaper);
             p.drawRect(QRectF(4.5, 11.5, 7, 3));
         }},
        {"cmdUndo", arrow(false)},
        {"cmdRedo", arrow(true)},
        {"cmdCut",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.drawLine(QPointF(5, 2), QPointF(10, 10));
             p.drawLine(QPointF(11, 2), QPointF(6, 10));
             p.setPen(QPen(kRed, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRectF(2, 10, 4, 4));
             p.drawEllipse(QRectF(10, 10, 4, 4));
         }},
        {"cmdCopy",
         [](QPainter& p) {
             page(p, QRectF(1.5, 1.5, 8, 10));
             page(p, QRectF(6.5, 4.5, 8, 10));
         }},
        {"cmdPaste",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(0xb0, 0x80, 0x40));
             p.drawRect(QRectF(2.5, 2.5, 9, 12));
             page(p, QRectF(6.5, 5.5, 8, 9));
         }},
        {"cmdWrap",
         [](QPainter& p) {
             lines(p, 2, 3.5, {12, 12, 6});
             p.setPen(QPen(kBlue, 1.5));
             p.drawLine(QPointF(13, 6), QPointF(13, 12));
             p.drawLine(QPointF(13, 12), QPointF(7, 12));
             p.drawLine(QPointF(7, 12), QPointF(9, 10));
             p.drawLine(QPointF(7, 12), QPointF(9, 14));
         }},
        {"cmdRun",
         [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(kGreen);
             QPolygonF play;
             play << QPointF(4, 2) << QPointF(14, 8) << QPointF(4, 14);
             p.drawPolygon(play);
         }},
        {"cmdRunJava",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(1.5, 2.5, 13, 11));
             p.setPen(QPen(kInk, 1.2));
             p.drawLine(QPointF(3.5, 5.5), QPointF(5.5, 7.5));
             p.drawLine(QPointF(5.5, 7.5), QPointF(3.5, 9.5));
             p.setPen(Qt::NoPen);
             p.setBrush(kGreen);
             QPolygonF play;
             play << QPointF(8, 5) << QPointF(14, 8.5) << QPointF(8, 12);
             p.drawPolygon(play);
         }},
        {"cmdBrowse",
         [](QPainter& p) {
             p.setPen(QPen(kBlue, 1));
             p.setBrush(QColor(0xc0, 0xe0, 0xff));
             p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRectF(5.5, 1.5, 5, 13));
             p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
         }},
        {"cmdHTMLBold", text(QStringLiteral("B"), kInk, true)},
        {"cmdHTMLItalic", text(QStringLiteral("I"), kInk, true, true)},
        {"cmdHTMLUnderline", text(QStringLiteral("U"), kInk, true, false, true)},
        {"cmdHTMLParagraph", text(QStringLiteral("\u00b6"), kInk, true)},
        {"cmdHTMLBreak", text(QStringLiteral("br"), kBlue, true, false, false, 9)},
        {"cmdHTMLHorizon", text(QStringLiteral("hr"), kBlue, true, false, false, 9)},
        {"cmdHTMLLeft", aligned(Qt::AlignLeft)},
        {"cmdHTMLCenter", aligned(Qt::AlignHCenter)},
        {"cmdHTMLRight", aligned(Qt::AlignRight)},
        {"cmdHTMLOList", text(QStringLiteral("1."), kInk, true, false, false, 9)},
        {"cmdHTMLUOList", text(QStringLiteral("\u2022\u2022"), kInk, true)},
        {"cmdHTMLHead", text(QStringLiteral("H"), kBlue, true)},
        {"cmdHTMLColor",
         [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(kRed);
             p.drawRect(QRectF(2, 2, 6, 6));
             p.setBrush(kGreen);
             p.drawRect(QRectF(8, 2, 6, 6));
             p.setBrush(kBlue);
             p.drawRect(QRectF(2, 8, 6, 6));
             p.setBrush(kYellow);
             p.drawRect(QRectF(8, 8, 6, 6));
         }},
        {"cmdHTMLImage",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(0xc0, 0xe0, 0xff));
             p.drawRect(QRectF(1.5, 2.5, 13, 11));
             p.setPen(Qt::NoPen);
             p.setBrush(kGreen);
             QPolygonF hill;
             hill << QPointF(2, 13) << QPointF(7, 7) << QPointF(10, 10) << QPointF(12, 8) << QPointF(14, 13);
             p.drawPolygon(hill);
         }},
        {"cmdHTMLLink", text(QStringLiteral("a"), kBlue, true, false, true, 12)},
        {"cmdHTMLMail",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(1.5, 3.5, 13, 9));
             p.drawLine(QPointF(1.5, 3.5), QPointF(8, 9));
             p.drawLine(QPointF(14.5, 3.5), QPointF(8, 9));
         }},
        {"cmdHTMLForm", text(QStringLiteral("F"), kGreen, true)},
        {"cmdHTMLButton",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(0xd8, 0xd8, 0xd8));
             p.drawRoundedRect(QRectF(1.5, 4.5, 13, 7), 2, 2);
             lines(p, 5, 8, {6});
         }},
        {"cmdHTMLFormImage",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(QColor(0xd8, 0xd8, 0xd8));
             p.drawRoundedRect(QRectF(1.5, 3.5, 13, 9), 2, 2);
             p.setPen(Qt::NoPen);
             p.setBrush(kGreen);
             p.drawEllipse(QRectF(5, 5, 6, 6));
         }},
        {"cmdHTMLInput",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(1.5, 4.5, 13, 7));
             p.drawLine(QPointF(4, 6), QPointF(4, 10));
         }},
        {"cmdHTMLRadio",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
             p.setBrush(kInk);
             p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
         }},
        {"cmdHTMLCheck",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(2.5, 2.5, 11, 11));
             p.setPen(QPen(kGreen, 2));
             p.drawLine(QPointF(4.5, 8), QPointF(7, 11));
             p.drawLine(QPointF(7, 11), QPointF(12, 4.5));
         }},
        {"cmdHTMLSelect",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(1.5, 4.5, 13, 7));
             p.setBrush(kInk);
             QPolygonF down;
             down << QPointF(9, 7) << QPointF(13, 7) << QPointF(11, 10);
             p.drawPolygon(down);
         }},
        {"cmdHTMLText",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawRect(QRectF(1.5, 1.5, 13, 13));
             lines(p, 3.5, 4.5, {9, 7, 9});
         }},
        {"cmdTable", grid(-1, -1)},
        {"cmdTableRow", grid(1, -1)},
        {"cmdTableCol", grid(-1, 1)},
        {"cmdAddBook",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kBlue);
             QPolygonF mark;
             mark << QPointF(3.5, 1.5) << QPointF(10.5, 1.5) << QPointF(10.5, 14.5) << QPointF(7, 11)
                  << QPointF(3.5, 14.5);
             p.drawPolygon(mark);
             p.setPen(QPen(kGreen, 2));
             p.drawLine(QPointF(13, 2), QPointF(13, 8));
             p.drawLine(QPointF(10, 5), QPointF(16, 5));
         }},
        {"cmdGoBook",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kBlue);
             QPolygonF mark;
             mark << QPointF(1.5, 1.5) << QPointF(8.5, 1.5) << QPointF(8.5, 14.5) << QPointF(5, 11)
                  << QPointF(1.5, 14.5);
             p.drawPolygon(mark);
             p.setPen(Qt::NoPen);
             p.setBrush(kGreen);
             QPolygonF go;
             go << QPointF(10, 4) << QPointF(15, 8) << QPointF(10, 12);
             p.drawPolygon(go);
         }},
        {"cmdJSP", text(QStringLiteral("<%"), kRed, true, false, false, 9)},
        {"cmdJava", text(QStringLiteral("J"), kRed, true, true, false, 12)},
        {"ToolBarClose", text(QStringLiteral("\u00d7"), kInk, true)},
    };
    return table;
}

// A picture drawn when it is first shown: the window makes far more buttons
// and items than its first screen shows. Once drawn it is an icon of the
// one pixmap, which gives every size and state as such an icon does.
class TDrawnIconEngine : public QIconEngine {
public:
    explicit TDrawnIconEngine(const TDraw& draw) : m_draw(draw) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Drawn().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Drawn().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        QSize actual(kSize, kSize);
        if (actual.width() > size.width() || actual.height() > size.height())
            actual.scale(size, Qt::KeepAspectRatio);
        return actual;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(kSize, kSize)}; }
    QString key() const override { return QStringLiteral("TDrawnIconEngine"); }
    QIconEngine* clone() const override { return new TDrawnIconEngine(*this); }

private:
    static constexpr int kSize = 16;

    const QIcon& Drawn()
    {
        if (m_icon.isNull()) {
            QPixmap pixmap(kSize, kSize);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            m_draw(painter);
            painter.end();
            m_icon = QIcon(pixmap);
        }
        return m_icon;
    }

    TDraw m_draw;
    QIcon m_icon;
};

} // namespace

namespace BarImages {

QIcon Icon(const QString& name)
{
    const auto it = drawings().constFind(name);
    if (it == drawings().constEnd())
        return QIcon();
    return QIcon(new TDrawnIconEngine(*it));
}

} // namespace BarImages
