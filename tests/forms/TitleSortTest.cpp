// A click on a column title over each backend: a text (memo) column is never sorted by, since
// the server cannot order by one, while a sized text column sorts as usual.

#include "data/Query.h"
#include "forms/Fr_Search.h"
#include "forms/testing/WindowHarness.h"
#include "tests/data/BackendContext.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTemporaryDir>

namespace md::forms {
namespace {

class TitleSort : public ::testing::TestWithParam<md::testing::BackendContext> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        connection_ = GetParam().freshDatabase(dir_);
        data::Query(connection_.get(),
                    {QStringLiteral("Create Table Note (Id int, Code varchar(10), Body text)")})
            .execSql();
        for (const char* row : {"(1, 'B', 'second')", "(2, 'A', 'first')"}) {
            data::Query(connection_.get(),
                        {QStringLiteral("Insert Into Note (Id, Code, Body) Values ") +
                         QString::fromLatin1(row)})
                .execSql();
        }
        TFrSearch::LastSortField.clear();
        TFrSearch::SortDescNext = false;
        search_ = std::make_unique<TFrSearch>();
        search_->QSearch.setConnection(connection_.get());
        search_->QSearch.setSql(
            {QStringLiteral("Select Id, Code, Body From Note"), QStringLiteral("Order By Id")});
        ASSERT_TRUE(harness_.show(search_.get()));
        search_->BtSearchClick();
    }
    void TearDown() override {
        search_.reset();
        connection_.reset();
    }
    void clickTitle(const QString& field) {
        const int column = search_->DgSearch->queryModel()->columnOf(field);
        ASSERT_GE(column, 0);
        emit search_->DgSearch->horizontalHeader()->sectionClicked(column);
        harness_.settle();
    }

    QTemporaryDir dir_;
    std::unique_ptr<data::Connection> connection_;
    testing::WindowHarness harness_;
    std::unique_ptr<TFrSearch> search_;
};

TEST_P(TitleSort, ATextColumnIsNotSortedByAndASizedOneIs) {
    const data::Field& body = search_->QSearch.fieldByName(QStringLiteral("Body"));
    EXPECT_TRUE(TFrSearch::IsBlobField(body)) << "size " << body.size();
    EXPECT_FALSE(TFrSearch::IsBlobField(search_->QSearch.fieldByName(QStringLiteral("Code"))));

    clickTitle(QStringLiteral("Body"));
    EXPECT_EQ(search_->QSearch.sql().last(), QStringLiteral("Order By Id"));
    EXPECT_EQ(TFrSearch::LastSortField, QString());
    EXPECT_TRUE(harness_.errors.isEmpty()) << harness_.errors.join(u'\n').toStdString();

    clickTitle(QStringLiteral("Code"));
    EXPECT_EQ(search_->QSearch.sql().last(), QStringLiteral("Order By 2"));
    EXPECT_EQ(search_->QSearch.fieldByName(QStringLiteral("Code")).asString(), QStringLiteral("A"));
    EXPECT_TRUE(harness_.errors.isEmpty()) << harness_.errors.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, TitleSort, ::testing::ValuesIn(md::testing::backendsUnderTest()),
                         [](const auto& info) { return info.param.name.toStdString(); });

}  // namespace
}  // namespace md::forms
