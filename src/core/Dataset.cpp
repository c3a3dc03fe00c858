#include "Dataset.h"

#include "AppError.h"
#include "Connection.h"
#include "DateText.h"
#include "SqlStatement.h"
#include "schema/TableRegistry.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <optional>
#include <sqlite3.h>

namespace {

FieldKind kindOfColumn(const QString& name, const QString& originTable, const QString& originColumn)
{
    const FieldKind byCode = FieldCodes::kindOf(name);
    if (byCode != FieldKind::None)
        return byCode;
    // A renamed generic column (a.AD01 as a1) keeps the kind of its code.
    const FieldKind byOrigin = FieldCodes::kindOf(originColumn);
    if (byOrigin != FieldKind::None && TableRegistry::find(originTable))
        return byOrigin;
    if (const TableDef* table = TableRegistry::find(originTable)) {
        if (const ColumnDef* column = table->column(originColumn)) {
            switch (column->type) {
            case ColumnType::Integer: return FieldKind::Integer;
            case ColumnType::Real: return FieldKind::Decimal;
            case ColumnType::Text: return FieldKind::Text;
            }
        }
    }
    return FieldKind::None;
}

QString textOf(const char* s)
{
    return s ? QString::fromUtf8(s) : QString();
}

}

Dataset::Dataset(Connection* connection, QObject* parent) : QObject(parent), con(connection)
{
}

void Dataset::setSql(const QString& sql)
{
    sqlText = sql;
}

bool Dataset::hasFieldsOf(sqlite3_stmt* stmt) const
{
    if (currentState == State::Inactive || int(fields.size()) != sqlite3_column_count(stmt))
        return false;
    for (size_t i = 0; i < fields.size(); ++i) {
        const int c = int(i);
        if (QAnyStringView::compare(fields[i].name, QUtf8StringView(sqlite3_column_name(stmt, c))) != 0
            || QAnyStringView::compare(fields[i].originTable, QUtf8StringView(sqlite3_column_table_name(stmt, c))) != 0
            || QAnyStringView::compare(fields[i].originColumn, QUtf8StringView(sqlite3_column_origin_name(stmt, c))) != 0)
            return false;
    }
    return true;
}

void Dataset::open()
{
    std::optional<SqlStatement> statement;
    try {
        if (!con)
            throw DbError(QStringLiteral("数据库没有打开"), sqlText);
        statement.emplace(con->handle(), sqlText);
        if (statement->columnCount() == 0)
            throw DbError(QStringLiteral("语句不返回记录集"), sqlText);
    } catch (...) {
        close();
        throw;
    }
    sqlite3_stmt* stmt = statement->handle();
    const int columns = statement->columnCount();

    // Re-opening with the same columns (the detail pages on every customer) keeps the fields.
    const bool sameFields = hasFieldsOf(stmt);
    if (sameFields)
        emit rowsAboutToBeReplaced();
    else
        emit aboutToReset();
    buffer.clear();
    dirty.clear();
    modified = false;
    if (!sameFields) {
        fields.assign(size_t(columns), Field());
        for (int i = 0; i < columns; ++i) {
            Field& f = fields[size_t(i)];
            f.name = textOf(sqlite3_column_name(stmt, i));
            f.originTable = textOf(sqlite3_column_table_name(stmt, i));
            f.originColumn = textOf(sqlite3_column_origin_name(stmt, i));
            f.kind = kindOfColumn(f.name, f.originTable, f.originColumn);
        }
    }
    store.reset(columns);
    baseOrder.clear();
    view.clear();
    sortField = -1;
    try {
        while (statement->step()) {
            const int row = store.addRow();
            for (int i = 0; i < columns; ++i) {
                switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_INTEGER: store.setInteger(row, i, sqlite3_column_int64(stmt, i)); break;
                case SQLITE_FLOAT: store.setReal(row, i, sqlite3_column_double(stmt, i)); break;
                case SQLITE_TEXT: {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
                    store.setText(row, i, text, sqlite3_column_bytes(stmt, i));
                    break;
                }
                case SQLITE_BLOB: {
                    const void* blob = sqlite3_column_blob(stmt, i);
                    store.setBlob(row, i, blob, sqlite3_column_bytes(stmt, i));
                    break;
                }
                default: break;
                }
            }
            baseOrder.push_back(row);
        }
    } catch (...) {
        store.reset(columns);
        baseOrder.clear();
        if (sameFields) {
            emit rowsReplaced();
            emit aboutToReset();
        }
        fields.clear();
        store.reset(0);
        current = -1;
        bofFlag = eofFlag = true;
        targetTable.clear();
        const bool wasOpen = currentState != State::Inactive;
        currentState = State::Inactive;
        emit resetDone();
        if (wasOpen)
            emit stateChanged(currentState);
        throw;
    }
    view = baseOrder;
    resolveTarget();
    current = view.empty() ? -1 : 0;
    bofFlag = true;
    eofFlag = view.empty();
    const bool stateChanges = currentState != State::Browse;
    currentState = State::Browse;
    if (sameFields)
        emit rowsReplaced();
    else
        emit resetDone();
    if (stateChanges)
        emit stateChanged(currentState);
    emit afterOpen();
    emit afterScroll();
}

void Dataset::resolveTarget()
{
    targetTable.clear();
    QString table = explicitTable;
    if (table.isEmpty()) {
        for (const Field& f : fields) {
            if (f.originTable.isEmpty())
                continue;
            if (table.isEmpty())
                table = f.originTable;
            else if (table.compare(f.originTable, Qt::CaseInsensitive) != 0)
                return;  // columns of several tables: read-only
        }
    }
    const TableDef* def = TableRegistry::find(table);
    if (!def || def->keyColumns.isEmpty())
        return;
    for (Field& f : fields)
        f.writable = f.originTable.compare(def->name, Qt::CaseInsensitive) == 0 && def->column(f.originColumn);
    for (const QString& key : def->keyColumns) {
        const bool present = std::any_of(fields.begin(), fields.end(), [&](const Field& f) {
            return f.writable && f.originColumn.compare(key, Qt::CaseInsensitive) == 0;
        });
        if (!present)
            return;
    }
    targetTable = def->name;
}

void Dataset::close()
{
    if (currentState == State::Inactive)
        return;
    emit aboutToReset();
    fields.clear();
    store.reset(0);
    baseOrder.clear();
    view.clear();
    buffer.clear();
    dirty.clear();
    modified = false;
    current = -1;
    bofFlag = eofFlag = true;
    sortField = -1;
    targetTable.clear();
    currentState = State::Inactive;
    emit resetDone();
    emit stateChanged(currentState);
}

void Dataset::execute()
{
    close();
    if (!con)
        throw DbError(QStringLiteral("数据库没有打开"), sqlText);
    con->execute(sqlText);
}

// ---- navigation ----

void Dataset::scrollTo(int row, bool force)
{
    checkBrowseMode();
    if (view.empty()) {
        bofFlag = eofFlag = true;
        return;
    }
    row = std::clamp(row, 0, rowCount() - 1);
    const bool moved = row != current;
    current = row;
    if (moved || force)
        emit afterScroll();
}

void Dataset::first()
{
    requireOpen();
    scrollTo(0);
    bofFlag = true;
    eofFlag = view.empty();
}

void Dataset::last()
{
    requireOpen();
    scrollTo(rowCount() - 1);
    eofFlag = true;
    bofFlag = view.empty();
}

void Dataset::next()
{
    requireOpen();
    checkBrowseMode();
    if (current + 1 < rowCount()) {
        scrollTo(current + 1);
        bofFlag = eofFlag = false;
    } else {
        eofFlag = true;
    }
}

void Dataset::prior()
{
    requireOpen();
    checkBrowseMode();
    if (current > 0) {
        scrollTo(current - 1);
        bofFlag = eofFlag = false;
    } else {
        bofFlag = true;
    }
}

void Dataset::moveTo(int row)
{
    requireOpen();
    scrollTo(row);
    bofFlag = eofFlag = view.empty();
}

bool Dataset::locate(const QString& field, const QVariant& value)
{
    requireOpen();
    const int f = requireField(field);
    const QString wanted = value.toString();
    for (int row = 0; row < rowCount(); ++row) {
        if (textAt(row, f) == wanted) {
            moveTo(row);
            return true;
        }
    }
    return false;
}

// ---- fields ----

int Dataset::fieldIndex(const QString& name) const
{
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int Dataset::requireField(const QString& name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw AppError(QStringLiteral("字段不存在：%1").arg(name));
    return index;
}

QVariant Dataset::cellValue(int physicalRow, int field) const
{
    if (fields[size_t(field)].kind == FieldKind::Date) {
        const RowStore::CellType t = store.type(physicalRow, field);
        if (t == RowStore::CellType::Integer || t == RowStore::CellType::Real)
            return DateText::fromDayNumber(store.real(physicalRow, field));
    }
    return store.value(physicalRow, field);
}

QString Dataset::cellText(int physicalRow, int field) const
{
    if (fields[size_t(field)].kind == FieldKind::Date)
        return DateText::format(cellValue(physicalRow, field).toDateTime());
    return store.text(physicalRow, field);
}

QVariant Dataset::valueAt(int row, int field) const
{
    if (row == current && isEditing())
        return buffer[size_t(field)];
    return cellValue(view[size_t(row)], field);
}

QString Dataset::textAt(int row, int field) const
{
    if (row == current && isEditing()) {
        const QVariant& v = buffer[size_t(field)];
        if (v.typeId() == QMetaType::QDateTime)
            return DateText::format(v.toDateTime());
        if (v.typeId() == QMetaType::Double)
            return QString::number(v.toDouble(), 'g', 15);
        return v.toString();
    }
    return cellText(view[size_t(row)], field);
}

QVariant Dataset::value(int field) const
{
    if (field < 0 || field >= fieldCount())
        throw AppError(QStringLiteral("字段序号超出范围：%1").arg(field));
    if (current < 0)
        return {};
    return valueAt(current, field);
}

QString Dataset::asString(int field) const
{
    if (field < 0 || field >= fieldCount())
        throw AppError(QStringLiteral("字段序号超出范围：%1").arg(field));
    return current < 0 ? QString() : textAt(current, field);
}

qint64 Dataset::asInteger(int field) const
{
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::QDateTime)
        return qint64(DateText::toDayNumber(v.toDateTime()));
    if (v.typeId() == QMetaType::Double)
        return qint64(v.toDouble());
    return v.toString().trimmed().toLongLong();
}

double Dataset::asFloat(const QString& name) const
{
    const QVariant v = value(name);
    if (v.typeId() == QMetaType::QDateTime)
        return DateText::toDayNumber(v.toDateTime());
    return v.isNull() ? 0.0 : v.toString().trimmed().toDouble();
}

QDateTime Dataset::asDateTime(const QString& name) const
{
    const QVariant v = value(name);
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QString)
        return DateText::parse(v.toString());
    return DateText::fromDayNumber(v.toDouble());
}

// ---- editing ----

void Dataset::requireOpen() const
{
    if (currentState == State::Inactive)
        throw AppError(QStringLiteral("数据集没有打开"));
}

void Dataset::requireEditing() const
{
    if (!isEditing())
        throw AppError(QStringLiteral("数据集不在编辑或增加状态"));
}

void Dataset::requireTable() const
{
    if (targetTable.isEmpty())
        throw AppError(QStringLiteral("此数据集只能查看，不能修改"));
}

void Dataset::setState(State state)
{
    if (state == currentState)
        return;
    currentState = state;
    emit stateChanged(state);
}

void Dataset::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (modified)
        post();
    else
        cancel();
}

void Dataset::edit()
{
    requireOpen();
    if (isEditing())
        return;
    requireTable();
    if (current < 0)
        throw AppError(QStringLiteral("没有可修改的记录"));
    buffer.assign(fields.size(), QVariant());
    for (int f = 0; f < fieldCount(); ++f)
        buffer[size_t(f)] = cellValue(view[size_t(current)], f);
    dirty.assign(fields.size(), false);
    modified = false;
    setState(State::Edit);
}

void Dataset::append()
{
    requireOpen();
    requireTable();
    checkBrowseMode();
    const int row = rowCount();
    emit rowAboutToBeInserted(row);
    const int physical = store.addRow();
    baseOrder.push_back(physical);
    view.push_back(physical);
    buffer.assign(fields.size(), QVariant());
    dirty.assign(fields.size(), false);
    modified = false;
    current = row;
    bofFlag = eofFlag = false;
    currentState = State::Insert;
    emit rowInserted(row);
    emit stateChanged(currentState);
    emit afterScroll();
}

void Dataset::setValue(const QString& name, const QVariant& value)
{
    setValue(requireField(name), value);
}

void Dataset::setValue(int field, const QVariant& value)
{
    requireEditing();
    if (field < 0 || field >= fieldCount())
        throw AppError(QStringLiteral("字段序号超出范围：%1").arg(field));
    if (!fields[size_t(field)].writable)
        throw AppError(QStringLiteral("字段不能修改：%1").arg(fields[size_t(field)].name));
    QVariant v = storageValue(field, value);
    if (fields[size_t(field)].kind == FieldKind::Date && v.typeId() == QMetaType::Double)
        v = DateText::fromDayNumber(v.toDouble());
    buffer[size_t(field)] = v;
    dirty[size_t(field)] = true;
    modified = true;
    emit rowChanged(current);
}

QVariant Dataset::storageValue(int field, const QVariant& value) const
{
    if (value.isNull())
        return {};
    const FieldKind kind = fields[size_t(field)].kind;
    switch (value.typeId()) {
    case QMetaType::QDate: return DateText::toDayNumber(value.toDate());
    case QMetaType::QDateTime: return DateText::toDayNumber(value.toDateTime());
    case QMetaType::Bool: return qint64(value.toBool() ? 1 : 0);
    case QMetaType::QString: {
        const QString text = value.toString();
        if (kind == FieldKind::Text || kind == FieldKind::None)
            return text;
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty())
            return {};
        bool ok = false;
        if (kind == FieldKind::Integer || kind == FieldKind::Coded) {
            const qint64 n = trimmed.toLongLong(&ok);
            return ok ? QVariant(n) : QVariant(text);
        }
        if (kind == FieldKind::Decimal) {
            const double d = trimmed.toDouble(&ok);
            return ok ? QVariant(d) : QVariant(text);
        }
        const QDateTime date = DateText::parse(trimmed);
        return date.isValid() ? QVariant(DateText::toDayNumber(date)) : QVariant(text);
    }
    default: return value;
    }
}

QString Dataset::keyCondition(std::vector<QVariant>& keyValues) const
{
    const TableDef* def = TableRegistry::find(targetTable);
    QStringList parts;
    for (const QString& key : def->keyColumns) {
        for (int f = 0; f < fieldCount(); ++f) {
            if (fields[size_t(f)].writable && fields[size_t(f)].originColumn.compare(key, Qt::CaseInsensitive) == 0) {
                parts << key + QStringLiteral("=?");
                keyValues.push_back(store.value(view[size_t(current)], f));
                break;
            }
        }
    }
    return parts.join(QStringLiteral(" and "));
}

void Dataset::storeBuffer(int physicalRow)
{
    for (int f = 0; f < fieldCount(); ++f)
        store.setValue(physicalRow, f, storageValue(f, buffer[size_t(f)]));
}

void Dataset::postEdit()
{
    QStringList assignments;
    std::vector<QVariant> values;
    for (int f = 0; f < fieldCount(); ++f) {
        if (!dirty[size_t(f)])
            continue;
        assignments << fields[size_t(f)].originColumn + QStringLiteral("=?");
        values.push_back(storageValue(f, buffer[size_t(f)]));
    }
    if (!assignments.isEmpty()) {
        const QString where = keyCondition(values);
        const QString sql = QStringLiteral("update %1 set %2 where %3")
                                .arg(targetTable, assignments.join(QLatin1Char(',')), where);
        SqlStatement statement(con->handle(), sql);
        for (size_t i = 0; i < values.size(); ++i)
            statement.bind(int(i) + 1, values[i]);
        statement.run();
        if (con->changes() == 0)
            throw DbError(QStringLiteral("找不到要修改的记录，它可能已被删除"), sql);
        storeBuffer(view[size_t(current)]);
    }
}

void Dataset::postInsert()
{
    const TableDef* def = TableRegistry::find(targetTable);
    QStringList columns;
    std::vector<QVariant> values;
    for (int f = 0; f < fieldCount(); ++f) {
        const QVariant v = storageValue(f, buffer[size_t(f)]);
        if (!dirty[size_t(f)] || v.isNull())
            continue;
        columns << fields[size_t(f)].originColumn;
        values.push_back(v);
    }
    QString sql = QStringLiteral("insert into %1 default values").arg(targetTable);
    if (!columns.isEmpty()) {
        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        sql = QStringLiteral("insert into %1(%2) values(%3)")
                  .arg(targetTable, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    }
    SqlStatement statement(con->handle(), sql);
    for (size_t i = 0; i < values.size(); ++i)
        statement.bind(int(i) + 1, values[i]);
    statement.run();
    if (def->hasAutoKey()) {
        const int keyField = [&] {
            for (int f = 0; f < fieldCount(); ++f)
                if (fields[size_t(f)].writable
                    && fields[size_t(f)].originColumn.compare(def->keyColumns.first(), Qt::CaseInsensitive) == 0)
                    return f;
            return -1;
        }();
        if (keyField >= 0)
            buffer[size_t(keyField)] = con->lastInsertId();
    }
    storeBuffer(view[size_t(current)]);
}

void Dataset::post()
{
    if (!isEditing())
        return;
    if (currentState == State::Edit)
        postEdit();
    else
        postInsert();
    buffer.clear();
    dirty.clear();
    modified = false;
    setState(State::Browse);
    emit rowChanged(current);
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    const bool inserting = currentState == State::Insert;
    buffer.clear();
    dirty.clear();
    modified = false;
    currentState = State::Browse;
    if (inserting)
        removeViewRow(current);
    else
        emit rowChanged(current);
    emit stateChanged(currentState);
    if (inserting)
        emit afterScroll();
}

void Dataset::removeViewRow(int row)
{
    const int physical = view[size_t(row)];
    emit rowAboutToBeRemoved(row);
    view.erase(view.begin() + row);
    baseOrder.erase(std::find(baseOrder.begin(), baseOrder.end(), physical));
    current = view.empty() ? -1 : std::min(row, rowCount() - 1);
    bofFlag = eofFlag = view.empty();
    emit rowRemoved(row);
}

void Dataset::deleteCurrent()
{
    requireOpen();
    if (currentState == State::Insert) {
        cancel();
        return;
    }
    cancel();
    requireTable();
    if (current < 0)
        throw AppError(QStringLiteral("没有可删除的记录"));
    std::vector<QVariant> keyValues;
    const QString sql = QStringLiteral("delete from %1 where %2").arg(targetTable, keyCondition(keyValues));
    SqlStatement statement(con->handle(), sql);
    for (size_t i = 0; i < keyValues.size(); ++i)
        statement.bind(int(i) + 1, keyValues[i]);
    statement.run();
    if (con->changes() == 0)
        throw DbError(QStringLiteral("找不到要删除的记录，它可能已被删除"), sql);
    removeViewRow(current);
    emit afterScroll();
}

// ---- sorting ----

void Dataset::sortBy(const QString& field, Qt::SortOrder order)
{
    requireOpen();
    checkBrowseMode();
    const int f = requireField(field);
    const int physicalCurrent = current >= 0 ? view[size_t(current)] : -1;

    // Keys are computed once per row; texts compare by the Chinese collation (pinyin order).
    const bool numeric = fields[size_t(f)].kind != FieldKind::Text && fields[size_t(f)].kind != FieldKind::None;
    struct Key {
        int row;
        bool null;
        double number;
        int text;  // index into texts, -1 for none
    };
    std::vector<Key> keys;
    std::vector<QCollatorSortKey> texts;
    keys.reserve(baseOrder.size());
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    collator.setNumericMode(true);
    for (int row : baseOrder) {
        Key k{row, store.isNull(row, f), 0.0, -1};
        const RowStore::CellType t = store.type(row, f);
        if (!k.null) {
            if (numeric || t == RowStore::CellType::Integer || t == RowStore::CellType::Real)
                k.number = store.real(row, f);
            if (t == RowStore::CellType::Text || t == RowStore::CellType::Blob) {
                k.text = int(texts.size());
                texts.push_back(collator.sortKey(store.text(row, f)));
            }
        }
        keys.push_back(k);
    }
    auto compareText = [&](const Key& a, const Key& b) {
        if (a.text < 0 || b.text < 0)
            return (a.text >= 0) - (b.text >= 0);
        return texts[size_t(a.text)].compare(texts[size_t(b.text)]);
    };
    const bool descending = order == Qt::DescendingOrder;
    std::stable_sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        // Empty values come first in ascending order.
        if (a.null != b.null)
            return descending ? b.null : a.null;
        if (a.null)
            return false;
        const int c = a.number < b.number ? -1 : a.number > b.number ? 1 : compareText(a, b);
        return descending ? c > 0 : c < 0;
    });

    emit aboutToReset();
    for (size_t i = 0; i < keys.size(); ++i)
        view[i] = keys[i].row;
    sortField = f;
    sortOrder = order;
    current = physicalCurrent < 0 ? -1 : int(std::find(view.begin(), view.end(), physicalCurrent) - view.begin());
    emit resetDone();
}

void Dataset::unsort()
{
    requireOpen();
    checkBrowseMode();
    if (sortField < 0)
        return;
    const int physicalCurrent = current >= 0 ? view[size_t(current)] : -1;
    emit aboutToReset();
    view = baseOrder;
    sortField = -1;
    current = physicalCurrent < 0 ? -1 : int(std::find(view.begin(), view.end(), physicalCurrent) - view.begin());
    emit resetDone();
}

qsizetype Dataset::memoryUsed() const
{
    return store.memoryUsed() + qsizetype((baseOrder.capacity() + view.capacity()) * sizeof(int));
}
