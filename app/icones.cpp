#include "icones.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int Cote = 32;

QPixmap toileVide()
{
    QPixmap pixmap(Cote, Cote);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QIcon iconeFrmInit()
{
    // A white cross on a blue tile: the classification of medical acts.
    QPixmap pixmap = toileVide();
    QPainter peintre(&pixmap);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(QPen(QColor(0x0B, 0x3D, 0x91), 1.5));
    peintre.setBrush(QColor(0x1F, 0x6F, 0xD1));
    peintre.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    peintre.setPen(Qt::NoPen);
    peintre.setBrush(Qt::white);
    peintre.drawRect(QRectF(13, 6, 6, 20));
    peintre.drawRect(QRectF(6, 13, 20, 6));
    peintre.end();
    return QIcon(pixmap);
}

QIcon iconeSelectionActe()
{
    // A list under a magnifying glass: pick an act from the classification.
    QPixmap pixmap = toileVide();
    QPainter peintre(&pixmap);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    peintre.setBrush(QColor(0xFB, 0xFB, 0xF2));
    peintre.drawRect(QRectF(2.5, 2.5, 20, 26));
    peintre.setPen(QPen(QColor(0x1F, 0x6F, 0xD1), 2));
    for (int ligne = 0; ligne < 5; ++ligne)
        peintre.drawLine(QPointF(6, 8 + ligne * 4.5), QPointF(19, 8 + ligne * 4.5));
    peintre.setPen(QPen(QColor(0x8A, 0x4B, 0x08), 4, Qt::SolidLine, Qt::RoundCap));
    peintre.drawLine(QPointF(23, 23), QPointF(29.5, 29.5));
    peintre.setPen(QPen(QColor(0x33, 0x33, 0x33), 2.5));
    peintre.setBrush(QColor(0xD6, 0xEC, 0xFF, 0xC0));
    peintre.drawEllipse(QPointF(18, 18), 7, 7);
    peintre.end();
    return QIcon(pixmap);
}
