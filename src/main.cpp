// quarrant-liquid: the desktop application. Until the application shell is built this opens
// one window that names the application and its revision.
#include <QApplication>
#include <QLabel>

#include "LiteralTable.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vandt Gauge"));
    QApplication::setApplicationName(QStringLiteral("Quarrant Liquid"));
    if (!InitLiteralTable())
        return 1;
    QLabel label(QStringLiteral("Quarrant Liquid Revision 0.10"));
    label.setWindowTitle(QStringLiteral("Quarrant Liquid"));
    label.resize(480, 120);
    label.show();
    return app.exec();
}
