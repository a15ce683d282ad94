// Reading and writing the General Options; see GeneralOptions.h.
#include "GeneralOptions.h"

#include <QSettings>

void GeneralOptions::Load(QSettings& s)
{
    mruFileCount = s.value(QStringLiteral("General/MRUFileCount"), 8).toInt();
    showSecLvl = s.value(QStringLiteral("ParamView/ShowSecLvl"), 0).toInt() != 0;
    showUnused = s.value(QStringLiteral("ParamView/ShowUnused"), 0).toInt() != 0;
    textCharSet = s.value(QStringLiteral("ParamView/TextCharSet"), 0).toInt();
    printSecLvl = s.value(QStringLiteral("ParamPrint/ShowSecLvl"), 0).toInt() != 0;
    suppressBelowLvl = s.value(QStringLiteral("ParamPrint/SuppressBelowLvl"), 0).toInt();
    suppressUnused = s.value(QStringLiteral("ParamPrint/SuppressUnused"), 0).toInt() != 0;
}

void GeneralOptions::Save(QSettings& s) const
{
    s.setValue(QStringLiteral("General/MRUFileCount"), mruFileCount);
    s.setValue(QStringLiteral("ParamView/ShowSecLvl"), int(showSecLvl));
    s.setValue(QStringLiteral("ParamView/ShowUnused"), int(showUnused));
    s.setValue(QStringLiteral("ParamView/TextCharSet"), textCharSet);
    s.setValue(QStringLiteral("ParamPrint/ShowSecLvl"), int(printSecLvl));
    s.setValue(QStringLiteral("ParamPrint/SuppressBelowLvl"), suppressBelowLvl);
    s.setValue(QStringLiteral("ParamPrint/SuppressUnused"), int(suppressUnused));
}
