// Release and maker addresses from the settings (see UpdateSettings.h).
#include "UpdateSettings.h"

#include <QSettings>

QString UpdateSettings::Value(const char* key, const char* fallback)
{
    QSettings settings(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
    const QString value = settings.value(QLatin1String("Network/") + QLatin1String(key)).toString().trimmed();
    return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}

QString UpdateSettings::UpdateServer()
{
    return Value("UpdateServer", "updates.example.com");
}

QString UpdateSettings::AnonymousPassword()
{
    return Value("AnonymousPassword", "quarrant-user@example.com");
}

QString UpdateSettings::InstallerUrl()
{
    return Value("InstallerUrl", "https://downloads.example.com/quarrant-liquid/QuarrantLiquidSetup.exe");
}

QString UpdateSettings::MakerWebSite()
{
    return Value("MakerWebSite", "https://www.example.com/");
}
