#pragma once

#include "ListFillers.h"

#include <QString>

// How a grid shows one field's cells, remembered by field name across re-opened datasets.
struct GridColumn {
    QString title;  // empty: the field name
    bool checkBox = false;
    PickList pickList;  // no keys: the cells show their own text

    bool hasPickList() const { return !pickList.keys.isEmpty(); }
};
