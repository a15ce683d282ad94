// Directory tree pictures; see TreeImages.h.
#include "views/TreeImages.h"

#include <QPainter>
#include <QPixmap>
#include <array>

namespace {

// A folder tab in one colour with a mark that tells the sections apart.
QPixmap Draw(int index)
{
    static const std::array<QColor, TreeImages::kCount> colours = {
        QColor(230, 190, 60), QColor(90, 140, 220), QColor(40, 160, 80),  QColor(200, 80, 60),
        QColor(150, 90, 190), QColor(60, 170, 170), QColor(220, 40, 40),  QColor(60, 90, 160),
        QColor(170, 130, 60), QColor(110, 160, 40), QColor(128, 128, 128), QColor(200, 120, 160),
        QColor(80, 80, 80),   QColor(180, 180, 40)};
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(colours[index].darker(160));
    p.setBrush(colours[index]);
    p.drawRect(1, 4, 13, 10);
    p.drawRect(1, 2, 5, 2);
    p.setPen(Qt::white);
    switch (index % 4) {
    case 0: p.drawLine(4, 9, 11, 9); break;
    case 1: p.drawEllipse(5, 6, 5, 5); break;
    case 2: p.drawLine(4, 12, 11, 6); break;
    default: p.drawRect(5, 7, 5, 4); break;
    }
    return pm;
}

} // namespace

QIcon TreeImages::Image(int index)
{
    if (index < 0 || index >= kCount)
        return {};
    static std::array<QIcon, kCount> cache;
    if (cache[index].isNull())
        cache[index] = QIcon(Draw(index));
    return cache[index];
}
