#include "serverdb.h"

QString testServer()
{
    return qEnvironmentVariable("TEST_FB_SERVER").trimmed();
}

QString serverDatabaseName(const QString &path)
{
    return testServer() + QLatin1Char(':') + path;
}
