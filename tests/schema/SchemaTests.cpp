#include "data/backend/DbError.h"
#include "schema/DemoServer.h"
#include "schema/Scripts.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace md;

TEST(SchemaScripts, SplitAtGoLines) {
    const auto batches =
        schema::splitBatches(u"CREATE TABLE A (X int)\n go \nGO\n\nSELECT 1\r\nGo"_qs);
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].text, u"CREATE TABLE A (X int)"_qs);
    EXPECT_EQ(batches[1].firstLine, 4);
    EXPECT_EQ(batches[1].text.trimmed(), u"SELECT 1"_qs);
}
