#include "AppIcons.h"

#include <QLinearGradient>
#include <QPainter>

namespace Tarvel {

namespace {

QPixmap badge(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(int(size * 0.45));
    p.setFont(f);
    p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("QX"));
    return pm;
}

QPixmap dot(const QColor &colour)
{
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(150));
    p.setBrush(colour);
    p.drawEllipse(QRectF(1.5, 1.5, 11, 11));
    return pm;
}

} // namespace

QIcon AppIcons::application()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(badge(size));
    return icon;
}

QPixmap AppIcons::connected()
{
    return dot(QColor(0x2e, 0xa0, 0x43));
}
QPixmap AppIcons::notConnected()
{
    return dot(QColor(0xc0, 0x39, 0x2b));
}

QPixmap AppIcons::splash(const QString &version)
{
    QPixmap pm(480, 280);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, pm.height());
    g.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    g.setColorAt(1, QColor(0x0d, 0x22, 0x38));
    p.fillRect(pm.rect(), g);
    p.drawPixmap(32, 32, badge(72));
    p.setPen(Qt::white);
    QFont title = p.font();
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(124, 30, 340, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tarvel"));
    QFont body = p.font();
    body.setPixelSize(16);
    body.setBold(false);
    p.setFont(body);
    p.drawText(QRect(124, 86, 340, 24), Qt::AlignLeft, QStringLiteral("Configuration and commissioning"));
    p.drawText(QRect(124, 108, 340, 24), Qt::AlignLeft, QStringLiteral("for Vernholt QX AC drives"));
    p.setPen(QColor(0xc8, 0xd6, 0xe5));
    p.drawText(QRect(32, 230, 416, 24), Qt::AlignRight, QStringLiteral("Version ") + version);
    return pm;
}

} // namespace Tarvel
