#pragma once

#include <QString>

// The name an export is written under: when the last three characters of the chosen name, compared
// without regard to case, differ from the extension, "." and the extension are appended
// ("a" → "a.xls", "a.XLS" and "dataxls" stay, "a.xlsx" → "a.xlsx.xls").
QString ExportFileName(const QString& chosenName, const QString& extension);
