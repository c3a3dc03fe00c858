#include "AttachmentList.h"

#include "ImageList.h"
#include "core/Dataset.h"
#include "core/QueryRunners.h"

#include <QListWidget>

int AttachmentImageIndex(const QString& extension)
{
    static const QList<QStringList> groups = {
        {".doc", ".docx"}, {".xls", ".xlsx"}, {".ppt", ".pptx"}, {".jpg", ".bmp", ".gif"},
        {".rar", ".zip"},  {".pdf"},          {".dwg"}};
    const QString ext = extension.toLower();
    for (int i = 0; i < groups.size(); ++i)
        if (groups[i].contains(ext))
            return i;
    return 7;
}

void FillAttachmentList(QListWidget* list, Dataset& recordQuery, const QString& attachmentTable, Dataset& workQuery)
{
    list->clear();
    if (!recordQuery.isOpen() || recordQuery.isEmpty())
        return;
    if (!OpenQuery(workQuery, QStringLiteral("select iid,sfilename,sfileext from ") + attachmentTable
                                  + QStringLiteral(" where ifid=") + QString::number(recordQuery.asInteger("AIID"))))
        return;
    for (workQuery.first(); !workQuery.eof(); workQuery.next()) {
        auto* item = new QListWidgetItem(workQuery.asString(1), list);
        item->setData(AttachmentKeyRole, workQuery.asString(0));
        const int image = AttachmentImageIndex(workQuery.asString(2));
        item->setData(ImageIndexRole, image);
        item->setIcon(ImageList::at(list, image));
    }
}
