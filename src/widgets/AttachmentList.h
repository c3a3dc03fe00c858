#pragma once

#include <QString>
#include <qnamespace.h>

class Dataset;
class QListWidget;

// Image index of an attachment by its extension (".doc" 0, ".xls" 1, ".ppt" 2, pictures 3,
// archives 4, ".pdf" 5, ".dwg" 6, anything else 7), without regard to case.
int AttachmentImageIndex(const QString& extension);

// Item data role that holds an attachment's key (iid) as text.
constexpr int AttachmentKeyRole = Qt::UserRole + 30;

// Lists the attachments of the record query's current customer: caption the file name, the key as
// data, the image by extension. An empty list when the record query is closed or empty.
void FillAttachmentList(QListWidget* list, Dataset& recordQuery, const QString& attachmentTable, Dataset& workQuery);
