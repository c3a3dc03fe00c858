#include "ProgramFixture.h"

#include "core/CurrentUser.h"
#include "core/Dataset.h"

ProgramFixture::ProgramFixture(int demoCustomers) : dir(demoCustomers), dm(dir.path())
{
    currentUser() = CurrentUser();
}

QString ProgramFixture::scalar(const QString& sql)
{
    Dataset d(&dm.conPublic());
    d.setSql(sql);
    d.open();
    return d.isEmpty() ? QString() : d.asString(0);
}
