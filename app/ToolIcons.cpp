#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace app {

namespace {

constexpr int kSize = 32;

const QColor kOutline(60, 60, 70);
const QColor kPaper(252, 252, 246);
const QColor kBlue(40, 100, 200);
const QColor kGreen(40, 150, 70);
const QColor kRed(200, 50, 40);
const QColor kBrown(170, 120, 60);

void sheet(QPainter &p, const QRectF &r, bool lines)
{
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(kPaper);
    p.drawRect(r);
    if (!lines)
        return;
    p.setPen(QPen(kBlue, 1.4));
    for (qreal y = r.top() + 5; y < r.bottom() - 3; y += 4)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void drawPrice(QPainter &p)
{
    sheet(p, QRectF(5.5, 2.5, 18, 26), true);
    // a price tag over the list
    QPainterPath tag;
    tag.moveTo(17, 17);
    tag.lineTo(27, 17);
    tag.lineTo(30, 22);
    tag.lineTo(27, 27);
    tag.lineTo(17, 27);
    tag.closeSubpath();
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(kGreen);
    p.drawPath(tag);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(26.5, 22), 1.3, 1.3);
}

void drawOrder(QPainter &p)
{
    p.setPen(QPen(kOutline, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath cart;
    cart.moveTo(2, 6);
    cart.lineTo(7, 6);
    cart.lineTo(11, 21);
    cart.lineTo(26, 21);
    p.drawPath(cart);
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({QPointF(8, 9), QPointF(29, 9), QPointF(26.5, 18), QPointF(10.5, 18)}));
    p.setBrush(kOutline);
    p.drawEllipse(QPointF(12.5, 26), 2.5, 2.5);
    p.drawEllipse(QPointF(24, 26), 2.5, 2.5);
}

void drawArchive(QPainter &p)
{
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(kBrown);
    p.drawRect(QRectF(4.5, 12.5, 23, 16));
    p.setBrush(kBrown.lighter(125));
    p.drawRect(QRectF(2.5, 6.5, 27, 6));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(11.5, 16.5, 9, 4), 1.5, 1.5);
}

void drawInvoice(QPainter &p)
{
    QPainterPath page;
    page.moveTo(6.5, 2.5);
    page.lineTo(20.5, 2.5);
    page.lineTo(26.5, 8.5);
    page.lineTo(26.5, 29.5);
    page.lineTo(6.5, 29.5);
    page.closeSubpath();
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(kPaper);
    p.drawPath(page);
    p.drawLine(QPointF(20.5, 2.5), QPointF(20.5, 8.5));
    p.drawLine(QPointF(20.5, 8.5), QPointF(26.5, 8.5));
    p.setPen(QPen(kOutline.lighter(150), 1.2));
    for (qreal y = 12.5; y < 20; y += 3.5)
        p.drawLine(QPointF(9.5, y), QPointF(23.5, y));
    p.setPen(QPen(kRed, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(19, 24), 4, 3.2);
}

void drawReference(QPainter &p)
{
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(kPaper);
    p.drawRect(QRectF(8.5, 4.5, 19, 24));
    p.setBrush(kBlue);
    p.drawRect(QRectF(5.5, 3.5, 19, 24));
    p.setBrush(kBlue.darker(130));
    p.drawRect(QRectF(5.5, 3.5, 4, 24));
    p.setPen(QPen(Qt::white, 1.6));
    p.drawLine(QPointF(12.5, 9.5), QPointF(21.5, 9.5));
    p.drawLine(QPointF(12.5, 13.5), QPointF(19.5, 13.5));
}

void arrowArc(QPainter &p, qreal startDeg, const QColor &color)
{
    const QRectF box(5, 5, 22, 22);
    p.setPen(QPen(color, 3, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(box, int(startDeg * 16), int(140 * 16));
    const qreal end = (startDeg + 140) * M_PI / 180.0;
    const QPointF tip(16 + 11 * std::cos(end), 16 - 11 * std::sin(end));
    const QPointF along(-std::sin(end), -std::cos(end)); // direction of travel
    const QPointF across(std::cos(end), -std::sin(end));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({tip + along * 5, tip + across * 4.5, tip - across * 4.5}));
}

void drawRefresh(QPainter &p)
{
    arrowArc(p, 20, kGreen);
    arrowArc(p, 200, kGreen);
}

void drawSend(QPainter &p)
{
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 12.5, 22, 16));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(2.5, 12.5), QPointF(13.5, 21.5), QPointF(24.5, 12.5)}));
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawPolygon(QPolygonF({QPointF(19, 10), QPointF(25, 2), QPointF(31, 10), QPointF(27, 10), QPointF(27, 15),
                             QPointF(23, 15), QPointF(23, 10)}));
}

void drawTools(QPainter &p)
{
    const QPointF c(16, 16);
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a0 = (i - 0.5) * M_PI / teeth;
        const qreal a1 = (i + 0.5) * M_PI / teeth;
        const qreal r = (i % 2 == 0) ? 13.5 : 10;
        const QPointF p0 = c + QPointF(r * std::cos(a0), r * std::sin(a0));
        const QPointF p1 = c + QPointF(r * std::cos(a1), r * std::sin(a1));
        if (i == 0)
            gear.moveTo(p0);
        else
            gear.lineTo(p0);
        gear.lineTo(p1);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 4.5, 4.5);
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(QColor(150, 155, 165));
    p.drawPath(gear.subtracted(hole));
}

void window(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setBrush(kBlue);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), 5));
}

void drawWindows(QPainter &p)
{
    window(p, QRectF(2.5, 4.5, 19, 15));
    window(p, QRectF(10.5, 12.5, 19, 15));
}

QPixmap draw(ToolIcon which)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case ToolIcon::Price: drawPrice(p); break;
    case ToolIcon::Order: drawOrder(p); break;
    case ToolIcon::Archive: drawArchive(p); break;
    case ToolIcon::Invoice: drawInvoice(p); break;
    case ToolIcon::Reference: drawReference(p); break;
    case ToolIcon::Refresh: drawRefresh(p); break;
    case ToolIcon::Send: drawSend(p); break;
    case ToolIcon::Tools: drawTools(p); break;
    case ToolIcon::Windows: drawWindows(p); break;
    }
    return pixmap;
}

} // namespace

QIcon toolIcon(ToolIcon which) { return QIcon(draw(which)); }

} // namespace app
