#pragma once

#include <QString>
#include <gtest/gtest.h>

// The private Firebird server that CTest starts for the test suites whose
// name begins with "Server" (scripts/fbserver.sh, fixture FirebirdServer).
// CTest hands its address to those tests as TEST_FB_SERVER ("127.0.0.1/port");
// SYSDBA's password there is "plumtree7", as everywhere in the tests.

// The server's address, empty when the test runs without the server (for
// example when the program is started by hand).
QString testServer();

// The database name that reaches `path` through the test server.
QString serverDatabaseName(const QString &path);

// Skips the current test when there is no test server.
#define SKIP_WITHOUT_TEST_SERVER()                                                                 \
    do {                                                                                           \
        if (testServer().isEmpty())                                                                \
            GTEST_SKIP() << "no test server: TEST_FB_SERVER is not set (run through ctest)";       \
    } while (0)
