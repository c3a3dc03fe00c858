#include "CurrentUser.h"

#include "Dataset.h"

QString CurrentUser::columnOf(Right right)
{
    static const char* const columns[RightCount] = {"IRADD", "IREDIT",  "IRDEL", "IRBATCH", "IRINPUT", "IREXPORT",
                                                    "IRPRINT", "IRSET", "IRBIN", "IR1",     "IR2",     "IR3",
                                                    "IRBORROW", "IRJ",  "IRK",   "IRL"};
    return QString::fromLatin1(columns[right]);
}

void CurrentUser::copyFrom(const Dataset& userRow)
{
    userId = userRow.asString(QStringLiteral("suserid"));
    userName = userRow.asString(QStringLiteral("susername"));
    password = userRow.asString(QStringLiteral("spassword"));
    for (int r = 0; r < RightCount; ++r)
        rights[size_t(r)] = int(userRow.asInteger(columnOf(Right(r))));
}

CurrentUser& currentUser()
{
    static CurrentUser user;
    return user;
}
