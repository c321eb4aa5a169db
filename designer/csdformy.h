#pragma once

#include "suitelibraries.h"

#include <QString>

// Shows a script through the forms library for a user (0 when none was
// chosen): false, after a warning, when the library or its export is missing.
inline bool EseguiShowCSDFormY(const QString &script, qint32 CodiceUtente)
{
    return SuiteLibraries::ShowCSDFormY(CodiceUtente, script);
}
