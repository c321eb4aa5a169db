#include "ibsql.h"
#include "testdb.h"

#include <gtest/gtest.h>

TEST(Database, CreateAttachAndQuery)
{
    TestDatabase t;
    t.exec(QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL, NOME VARCHAR(40))"));
    t.exec(QStringLiteral("INSERT INTO T VALUES (1, 'uno')"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT NOME FROM T WHERE ID = 1")), QStringLiteral("uno"));
}
