#pragma once

#include "core/Dataset.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <vector>

class GridHeader;

// The row of sums under a grid: one cell under each column, placed by the grid's title row so it
// follows column widths, order and horizontal scrolling. Sums are worked out over all rows only
// after the data changed, at the next paint or read.
class GridFooter : public QWidget {
    Q_OBJECT
public:
    explicit GridFooter(GridHeader* titles, QWidget* parent = nullptr);

    void setDataset(Dataset* dataset);
    void setSumFields(const QStringList& fields);
    QStringList sumFields() const { return summed; }
    // Width of the row-number column at the left, painted blank.
    void setIndent(int width);

    // The sum shown under the field, empty for a field without a sum: whole numbers without
    // decimals, others with up to two decimals and no trailing zeros.
    QString text(const QString& field) const;

public slots:
    // Marks the sums out of date; they are worked out again when next needed.
    void invalidate();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ensureSums() const;

    GridHeader* header;
    QPointer<Dataset> source;
    QStringList summed;
    int indent = 0;
    mutable bool stale = true;
    mutable std::vector<QString> texts;  // by field position
};
