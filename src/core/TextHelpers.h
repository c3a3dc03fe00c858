#pragma once

#include <QString>

// a when the flag is set, b otherwise.
inline QString ChooseText(bool flag, const QString& a, const QString& b)
{
    return flag ? a : b;
}

// The system's folder for temporary files, with a trailing separator.
QString GetTempFolder();
