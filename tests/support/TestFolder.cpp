#include "TestFolder.h"

#include "core/AppInfo.h"
#include "schema/NewDatabase.h"

#include <QDir>

TestFolder::TestFolder(int demoCustomers)
{
    NewDatabase::create(dir.path(), demoCustomers);
}

QString TestFolder::databaseFile() const
{
    return QDir(dir.path()).filePath(AppInfo::databaseFileName);
}
