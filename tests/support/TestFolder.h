#pragma once

#include <QString>
#include <QTemporaryDir>

// A program folder in a temporary directory holding a fresh database made by the program's own
// new-database code; removed with the object.
class TestFolder {
public:
    explicit TestFolder(int demoCustomers = 0);
    QString path() const { return dir.path(); }
    QString databaseFile() const;
    bool isValid() const { return dir.isValid(); }

private:
    QTemporaryDir dir;
};
