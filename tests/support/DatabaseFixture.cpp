#include "DatabaseFixture.h"

#include "core/Dataset.h"

#include <QTest>

DatabaseFixture::DatabaseFixture(int demoCustomers) : dir(demoCustomers)
{
    if (!con.open(dir.databaseFile()))
        qFatal("cannot open the test database: %s", qPrintable(con.lastError()));
}

void DatabaseFixture::exec(const QString& sql)
{
    con.execute(sql);
}

QString DatabaseFixture::scalar(const QString& sql)
{
    Dataset d(&con);
    d.setSql(sql);
    d.open();
    return d.isEmpty() ? QString() : d.asString(0);
}

QString DatabaseFixture::dump(const QString& sql)
{
    Dataset d(&con);
    d.setSql(sql);
    d.open();
    return DumpDataset(d);
}

QString DumpDataset(Dataset& dataset)
{
    QStringList rows;
    for (int r = 0; r < dataset.rowCount(); ++r) {
        QStringList cells;
        for (int f = 0; f < dataset.fieldCount(); ++f)
            cells << dataset.textAt(r, f);
        rows << cells.join(QLatin1Char(','));
    }
    return rows.join(QLatin1Char(';'));
}
