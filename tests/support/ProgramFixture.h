#pragma once

#include "TestFolder.h"
#include "core/DataModule.h"

#include <QString>

// A program folder with a fresh database and the data module on it, as the program has after
// start-up; the current user is reset to nobody.
class ProgramFixture {
public:
    explicit ProgramFixture(int demoCustomers = 0);
    DataModule& dataModule() { return dm; }
    Connection& connection() { return dm.conPublic(); }
    QString folder() const { return dir.path(); }

    void exec(const QString& sql) { dm.conPublic().execute(sql); }
    // The first column of the first row as text ("" when there is no row).
    QString scalar(const QString& sql);

private:
    TestFolder dir;
    DataModule dm;
};
