// Derived properties of a program-code table entry (see ParamDef.h).
#include "ParamDef.h"

#include <cstdlib>
#include <cstring>

bool ParamDef::IsReadOnly() const
{
    return std::strstr(name, "{O}") != nullptr;
}

int ParamDef::ProgramCodeNumber() const
{
    return std::atoi(name);
}

QString ParamDef::DisplayName() const
{
    QString text = QString::fromLatin1(name);
    text.remove(QStringLiteral("{O}"));
    return text;
}
