// Toolbar pictures drawn with QPainter; see ToolbarIcons.h.
#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPixmap>

namespace {

// A page with a coloured mark and up to two letters: enough to tell the buttons apart.
QIcon Draw(QColor color, const QString& letters)
{
    QPixmap pm(16, 15);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(2, 0, 11, 14);
    p.fillRect(4, 2, 8, 3, color);
    QFont f = p.font();
    f.setPixelSize(7);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(2, 5, 12, 9), Qt::AlignCenter, letters);
    return QIcon(pm);
}

} // namespace

QIcon ToolbarIcons::Icon(int id)
{
    switch (id) {
    case 57600: return Draw(Qt::white, QStringLiteral("N"));
    case 57601: return Draw(QColor(230, 200, 60), QStringLiteral("O"));
    case 57603: return Draw(QColor(40, 80, 200), QStringLiteral("S"));
    case 57607: return Draw(Qt::gray, QStringLiteral("P"));
    case 57635: return Draw(Qt::red, QStringLiteral("X"));
    case 57634: return Draw(Qt::darkCyan, QStringLiteral("C"));
    case 57637: return Draw(Qt::darkYellow, QStringLiteral("V"));
    case 150: return Draw(QColor(0, 150, 0), QStringLiteral("R1"));
    case 151: return Draw(QColor(0, 150, 0), QStringLiteral("RA"));
    case 152: return Draw(QColor(200, 90, 0), QStringLiteral("D1"));
    case 153: return Draw(QColor(200, 90, 0), QStringLiteral("DA"));
    case 57664: return Draw(Qt::blue, QStringLiteral("?"));
    default: return {};
    }
}
