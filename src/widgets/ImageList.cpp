#include "ImageList.h"

#include <QVariant>
#include <QWidget>

namespace {
const char* const property = "qnrtImageList";
}

namespace ImageList {

void set(QWidget* view, const QList<QIcon>& images)
{
    view->setProperty(property, QVariant::fromValue(images));
}

QIcon at(const QWidget* view, int index)
{
    const QList<QIcon> images = view->property(property).value<QList<QIcon>>();
    return index >= 0 && index < images.size() ? images[index] : QIcon();
}

}
