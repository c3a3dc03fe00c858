#pragma once

#include <QString>

class GridSource;

enum class ExportFormat { Xls, Rtf, Htm, Txt };

namespace GridExporter {
// The format of a file extension ("xls", ".RTF", ...); false when there is none.
bool formatOfExtension(const QString& extension, ExportFormat* format);
QString extensionOf(ExportFormat format);

// Writes the title row and every row of the source in the format. An existing file is replaced;
// a file that cannot be written throws AppError and leaves nothing under the name.
void write(const GridSource& source, ExportFormat format, const QString& path);
}
