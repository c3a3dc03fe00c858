#pragma once

#include "TestFolder.h"
#include "core/Connection.h"

#include <QString>

class Dataset;

// A fresh database with an open connection on it, plus small helpers to read it back.
class DatabaseFixture {
public:
    explicit DatabaseFixture(int demoCustomers = 0);
    Connection& connection() { return con; }
    const TestFolder& folder() const { return dir; }

    // Runs a statement that returns no rows; fails the test on an engine error.
    void exec(const QString& sql);
    // The first column of the first row as text ("" when there is no row).
    QString scalar(const QString& sql);
    // Every row as "a,b,c", rows joined by ";".
    QString dump(const QString& sql);

private:
    TestFolder dir;
    Connection con;
};

// Every row of an open dataset as "a,b,c", rows joined by ";", as the dataset reads them as text.
QString DumpDataset(Dataset& dataset);
