#include "TextHelpers.h"

#include <QDir>

QString GetTempFolder()
{
    return QDir::tempPath() + QLatin1Char('/');
}
