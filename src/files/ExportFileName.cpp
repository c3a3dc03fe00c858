#include "ExportFileName.h"

QString ExportFileName(const QString& chosenName, const QString& extension)
{
    if (chosenName.right(3).compare(extension, Qt::CaseInsensitive) == 0)
        return chosenName;
    return chosenName + QLatin1Char('.') + extension;
}
