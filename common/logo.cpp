#include "logo.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace lexi {

QPixmap logoPixmap(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // A green book with a red magnifying glass over its corner.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x6f, 0x3a));
    p.drawRoundedRect(QRectF(8, 6, 40, 52), 4, 4);
    p.setBrush(QColor(0x2f, 0x8f, 0x4e));
    p.drawRoundedRect(QRectF(12, 6, 36, 48), 3, 3);
    p.setBrush(QColor(0xf4, 0xf1, 0xe8));
    p.drawRect(QRectF(14, 52, 34, 4));

    QFont f(QStringLiteral("Times New Roman"));
    f.setBold(true);
    f.setPixelSize(24);
    p.setFont(f);
    p.setPen(QColor(0xf4, 0xf1, 0xe8));
    p.drawText(QRectF(12, 12, 36, 30), Qt::AlignCenter, QStringLiteral("Lx"));

    QPen lens(QColor(0xc0, 0x39, 0x2b), 4);
    p.setPen(lens);
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawEllipse(QPointF(44, 42), 10, 10);
    lens.setWidth(5);
    lens.setCapStyle(Qt::RoundCap);
    p.setPen(lens);
    p.drawLine(QPointF(51, 49), QPointF(59, 57));
    return pm;
}

QIcon appIcon()
{
    QIcon icon;
    for (int s : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(logoPixmap(s));
    return icon;
}

}  // namespace lexi
