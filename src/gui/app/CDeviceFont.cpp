// The bundled device font and its face names; see CDeviceFont.h.
#include "app/CDeviceFont.h"

#include <QFont>
#include <QFontDatabase>

namespace {

const QString kResource = QStringLiteral(":/fonts/DejaVuSansMono-Bold.ttf");

} // namespace

QStringList CDeviceFont::FaceNames()
{
    return {
        QStringLiteral("VGI Default"),
        QStringLiteral("VGI Small"),
        QStringLiteral("VGI Bold"),
        QStringLiteral("VGI 866 Bold (DOS Cyrillic)"),
        QStringLiteral("VGI 1251 Bold (Cyrillic)"),
        QStringLiteral("VGI 1250 Bold (Central Europe)"),
        QStringLiteral("VGI 1253 Bold (Greek)"),
    };
}

bool CDeviceFont::Install()
{
    if (m_fontId >= 0)
        return true;
    const int id = QFontDatabase::addApplicationFont(kResource);
    if (id < 0)
        return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        QFontDatabase::removeApplicationFont(id);
        return false;
    }
    m_fontId = id;
    m_family = families.first();
    for (const QString& face : FaceNames())
        QFont::insertSubstitution(face, m_family);
    return true;
}

void CDeviceFont::Remove()
{
    if (m_fontId < 0)
        return;
    for (const QString& face : FaceNames())
        QFont::removeSubstitutions(face);
    QFontDatabase::removeApplicationFont(m_fontId);
    m_fontId = -1;
    m_family.clear();
}
