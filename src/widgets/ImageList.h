#pragma once

#include <QIcon>
#include <QList>
#include <qnamespace.h>

class QWidget;

// The images a tree or list view draws its items with, addressed by index.
namespace ImageList {
void set(QWidget* view, const QList<QIcon>& images);
// The image at the index, or a null icon when the view has none there.
QIcon at(const QWidget* view, int index);
}

// Item data roles of the image indexes.
enum ImageRole { ImageIndexRole = Qt::UserRole + 10, SelectedImageIndexRole };
