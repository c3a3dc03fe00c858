#pragma once

#include "FieldCodes.h"
#include "RowStore.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>

#include <vector>

class Connection;
struct sqlite3_stmt;

// A query's rows as a static in-memory copy: navigation, fields by name or position, in-memory
// sort, and edit, append and delete of rows that write to the database at once. The table it
// writes to is the one all its columns come from (or the one set with setUpdateTable); rows are
// addressed by that table's key from the table registry.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    Q_ENUM(State)

    explicit Dataset(Connection* connection, QObject* parent = nullptr);

    Connection* connection() const { return con; }
    // The statement the next open or execute runs; the rows shown stay until then.
    void setSql(const QString& sql);
    QString sql() const { return sqlText; }

    // Opens the statement (replacing any rows held) and moves to the first row; on DbError the
    // dataset is left closed.
    void open();
    void close();
    // Closes the dataset and runs its statement as one that returns no rows; throws DbError.
    void execute();
    bool isOpen() const { return currentState != State::Inactive; }
    bool isEmpty() const { return rowCount() == 0; }
    State state() const { return currentState; }
    bool isEditing() const { return currentState == State::Edit || currentState == State::Insert; }
    bool isModified() const { return modified; }

    // Navigation. Moving while a row is edited posts it first (or cancels an untouched new row).
    int rowCount() const { return int(view.size()); }
    int currentRow() const { return current; }
    bool eof() const { return eofFlag; }
    bool bof() const { return bofFlag; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);
    // Moves to the first row whose field equals the value; false (and no move) when none does.
    bool locate(const QString& field, const QVariant& value);

    // Fields. Names compare without regard to case; an unknown name throws AppError.
    int fieldCount() const { return int(fields.size()); }
    QString fieldName(int field) const { return fields[size_t(field)].name; }
    int fieldIndex(const QString& name) const;  // -1 when unknown
    FieldKind fieldKind(int field) const { return fields[size_t(field)].kind; }
    // Whether the field is a column of the table the dataset writes to (when canModify holds).
    bool isFieldWritable(int field) const { return fields[size_t(field)].writable; }

    // Current row (with a pending edit's values); NULL reads as "" or 0.
    QVariant value(int field) const;
    QVariant value(const QString& name) const { return value(requireField(name)); }
    bool isNull(const QString& name) const { return value(name).isNull(); }
    QString asString(int field) const;
    QString asString(const QString& name) const { return asString(requireField(name)); }
    qint64 asInteger(int field) const;
    qint64 asInteger(const QString& name) const { return asInteger(requireField(name)); }
    double asFloat(const QString& name) const;
    QDateTime asDateTime(const QString& name) const;

    // Any row, as shown in a grid.
    QVariant valueAt(int row, int field) const;
    QString textAt(int row, int field) const;

    // Editing. setValue needs the edit or insert state; empty text in a non-text column is NULL.
    void edit();
    void append();
    void setValue(const QString& name, const QVariant& value);
    void setValue(int field, const QVariant& value);
    void post();
    void cancel();
    void deleteCurrent();

    void setUpdateTable(const QString& table) { explicitTable = table; }
    QString updateTable() const { return targetTable; }
    bool canModify() const { return !targetTable.isEmpty(); }

    // In-memory sort by one field; unsort returns to the order of the query.
    void sortBy(const QString& field, Qt::SortOrder order);
    void unsort();
    bool isSorted() const { return sortField >= 0; }

    qsizetype memoryUsed() const;

signals:
    void stateChanged(Dataset::State state);
    void afterOpen();
    void afterScroll();
    // For views: the fields and rows are replaced; or only the rows, the fields staying the same
    // (a re-open with the same columns); or one row comes, goes or changes.
    void aboutToReset();
    void resetDone();
    void rowsAboutToBeReplaced();
    void rowsReplaced();
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);

private:
    struct Field {
        QString name;
        FieldKind kind = FieldKind::None;
        QString originTable;
        QString originColumn;
        bool writable = false;
    };

    bool hasFieldsOf(sqlite3_stmt* stmt) const;
    int requireField(const QString& name) const;
    void requireOpen() const;
    void requireEditing() const;
    void requireTable() const;
    void setState(State state);
    void scrollTo(int row, bool force = false);
    void checkBrowseMode();
    void resolveTarget();
    QVariant storageValue(int field, const QVariant& value) const;
    QVariant cellValue(int physicalRow, int field) const;
    QString cellText(int physicalRow, int field) const;
    QString keyCondition(std::vector<QVariant>& keyValues) const;
    void storeBuffer(int physicalRow);
    void postEdit();
    void postInsert();
    void removeViewRow(int row);

    Connection* con;
    QString sqlText;
    QString explicitTable;
    QString targetTable;
    State currentState = State::Inactive;
    std::vector<Field> fields;
    RowStore store;
    std::vector<int> baseOrder;  // physical rows in the order of the query
    std::vector<int> view;       // physical rows as shown (sorted or base order)
    int current = -1;
    bool eofFlag = true;
    bool bofFlag = true;
    int sortField = -1;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;

    std::vector<QVariant> buffer;  // values of the row being edited or inserted
    std::vector<bool> dirty;
    bool modified = false;
};
