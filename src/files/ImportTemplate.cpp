#include "ImportTemplate.h"

#include "XlsWriter.h"

namespace ImportTemplate {

void write(const QList<Column>& columns, const QString& path)
{
    QStringList captions;
    QList<XlsCellStyle> styles;
    for (const Column& c : columns) {
        captions << c.caption;
        styles << XlsCellStyle{false, c.mandatory ? 0xFF0000u : 0x000000u};
    }
    XlsWriter writer;
    writer.beginSheet(QStringLiteral("Sheet1"), captions, styles);
    writer.save(path);
}

}
