// Test helper: points the application settings at a fresh temporary folder for the life of
// the object, so tests can write "Comm" values without touching the user's settings.
#pragma once

#include <QSettings>
#include <QTemporaryDir>

class CommTemporarySettings {
public:
    CommTemporarySettings()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    // Sets one value of the "Comm" section.
    static void Set(const QString& key, const QVariant& value)
    {
        QSettings s(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
        s.setValue(QStringLiteral("Comm/") + key, value);
    }
    static QVariant Get(const QString& key)
    {
        QSettings s(QStringLiteral("Vandt Gauge"), QStringLiteral("Quarrant Liquid"));
        return s.value(QStringLiteral("Comm/") + key);
    }

private:
    QTemporaryDir m_dir;
};
