// The grid over a query: rows fetched as the view scrolls, the model following the query's
// opening and closing, the selection moving the query, title clicks, cell colours as painted,
// and the in-cell editor with its search button.

#include "data/Query.h"
#include "forms/DbGrid.h"
#include "forms/testing/WindowHarness.h"
#include "tests/support/TempServer.h"

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <utility>

using md::data::Query;
using md::forms::CellParams;
using md::forms::DbGrid;
using md::forms::GridColumn;
using md::forms::SearchButtonDelegate;
using md::forms::SearchCellEditor;
using md::forms::testing::WindowHarness;

namespace {

class Grid : public ::testing::Test {
  protected:
    void SetUp() override {
        server_.createDatabase(QStringLiteral("GRID"));
        connection_ = server_.connect(QStringLiteral("GRID"));
        connection_->open();
        run(
            QStringLiteral("Create Table Items (Id int Identity(1,1) Primary Key, "
                           "Code varchar(10), Name varchar(40))"));
        for (int block = 0; block < 5; ++block) {
            QStringList values;
            for (int i = 1; i <= 50; ++i) {
                const int n = block * 50 + i;
                values << QStringLiteral("('C%1', 'Item %1')").arg(n, 3, 10, QLatin1Char('0'));
            }
            run(QStringLiteral("Insert Into Items (Code, Name) Values ") + values.join(u','));
        }
        query_ = std::make_unique<Query>(
            connection_.get(), QStringList{QStringLiteral("Select Id, Code, Name From Items"),
                                           QStringLiteral("Order By Id")});
        grid_ = std::make_unique<DbGrid>();
        grid_->setQuery(query_.get());
        grid_->queryModel()->setFetchBatch(20);
        grid_->resize(300, 200);
    }
    void TearDown() override {
        grid_.reset();
        query_.reset();
    }
    void run(const QString& sql) {
        Query q(connection_.get(), {sql});
        q.execSql();
    }

    md::testing::TempServer server_;
    std::unique_ptr<md::data::Connection> connection_;
    std::unique_ptr<Query> query_;
    std::unique_ptr<DbGrid> grid_;
    WindowHarness h_;
};

TEST_F(Grid, RowsAreFetchedOnlyAsTheViewNeedsThem) {
    query_->open();
    ASSERT_TRUE(h_.show(grid_.get()));
    auto* model = grid_->queryModel();
    EXPECT_LT(query_->fetchedCount(), 250);
    EXPECT_EQ(model->rowCount(), query_->fetchedCount());
    EXPECT_TRUE(model->canFetchMore({}));
    grid_->scrollToBottom();
    while (model->canFetchMore({}))
        model->fetchMore({});
    EXPECT_EQ(model->rowCount(), 250);
    EXPECT_TRUE(query_->allFetched());
    EXPECT_EQ(model->index(249, 1).data().toString(), QStringLiteral("C250"));
}

TEST_F(Grid, TheModelFollowsTheQueryClosingAndOpening) {
    query_->open();
    auto* model = grid_->queryModel();
    EXPECT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Name"));
    query_->close();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_FALSE(model->index(0, 0).data().isValid());
    query_->setSqlLine(0, QStringLiteral("Select Id, Code, Name From Items Where Id > 248"));
    query_->open();
    EXPECT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("C249"));
    // Rows the query read by itself show up without a reset.
    query_->next();
    grid_->syncToQuery();
    EXPECT_EQ(model->rowCount(), 2);
}

TEST_F(Grid, NamedColumnsShowTheirTitlesAndTheSelectionMovesTheQuery) {
    query_->open();
    grid_->setColumns({GridColumn{QStringLiteral("Name"), QStringLiteral(u"ชื่อ"), 150},
                       GridColumn{QStringLiteral("Code"), QString(), 80}});
    auto* model = grid_->queryModel();
    EXPECT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral(u"ชื่อ"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Code"));
    EXPECT_EQ(grid_->columnWidth(0), 150);
    ASSERT_TRUE(h_.show(grid_.get()));
    grid_->setFocus();
    grid_->selectRecord(3);
    EXPECT_EQ(query_->recNo(), 3);
    h_.press(Qt::Key_Down);
    EXPECT_EQ(query_->recNo(), 4);
    EXPECT_EQ(query_->fieldByName(QStringLiteral("Code")).asString(), QStringLiteral("C005"));
    // The whole row is selected.
    EXPECT_EQ(grid_->selectionModel()->selectedIndexes().size(), 2);
    query_->moveTo(10);
    grid_->syncToQuery();
    EXPECT_EQ(grid_->selectedRow(), 10);
}

// The leftmost and rightmost columns of `area` holding a pixel darker than its background, or
// {-1, -1} when nothing is drawn there (no font to draw with).
std::pair<int, int> inkColumns(const QImage& image, const QRect& area) {
    const QColor background = image.pixelColor(area.left() + 1, area.top() + 1);
    int first = -1, last = -1;
    for (int x = area.left() + 2; x < area.right() - 2; ++x)
        for (int y = area.top() + 2; y < area.bottom() - 2; ++y)
            if (qGray(image.pixel(x, y)) + 60 < qGray(background.rgb())) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

TEST_F(Grid, AColumnAlignsItsCellsAndItsTitleAsSet) {
    query_->open();
    grid_->setColumns({GridColumn{QStringLiteral("Code"), QStringLiteral("Code"), 120, true,
                                  Qt::AlignRight, Qt::AlignRight},
                       GridColumn{QStringLiteral("Name"), QStringLiteral("Name"), 120}});
    auto* model = grid_->queryModel();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(model->index(0, 0).data(Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_FALSE(model->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).isValid())
        << "no alignment set: the header's own";
    EXPECT_FALSE(model->index(0, 1).data(Qt::TextAlignmentRole).isValid());

    // As painted: the right-aligned title ends near the right edge of its section, the other one
    // (the header's own alignment) well before it; the right-aligned cell lies in its right half.
    ASSERT_TRUE(h_.show(grid_.get()));
    QHeaderView* header = grid_->horizontalHeader();
    const QImage titles = header->grab().toImage();
    const auto section = [&](int c) {
        return QRect(header->sectionViewportPosition(c), 0, header->sectionSize(c),
                     header->height());
    };
    const int rightTitle = inkColumns(titles, section(0)).second;
    const int ownTitle = inkColumns(titles, section(1)).second;
    if (rightTitle < 0 || ownTitle < 0)
        GTEST_SKIP() << "no font draws the titles here";
    EXPECT_GT(rightTitle, section(0).right() - 12) << "right-aligned title";
    EXPECT_LT(ownTitle, section(1).right() - 20) << "title of the header's own alignment";
    const QImage cells = grid_->viewport()->grab().toImage();
    const QRect cell = grid_->visualRect(model->index(0, 0));
    EXPECT_GT(inkColumns(cells, cell).first, cell.center().x()) << "right-aligned cell";
}

TEST_F(Grid, TitleClicksReportTheColumnAndThePaintUsesTheHook) {
    query_->open();
    ASSERT_TRUE(h_.show(grid_.get()));
    QSignalSpy titles(grid_.get(), &DbGrid::titleClicked);
    QHeaderView* header = grid_->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    ASSERT_EQ(titles.size(), 1);
    EXPECT_EQ(grid_->queryModel()->fieldOf(titles.at(0).at(0).toInt())->name(),
              QStringLiteral("Code"));

    grid_->onGetCellParams = [](CellParams& p) {
        if (p.row == 1 && p.field && p.field->name() == QStringLiteral("Code"))
            p.background = Qt::red;
    };
    grid_->viewport()->update();
    const QImage shot = grid_->viewport()->grab().toImage();
    const QRect red = grid_->visualRect(grid_->queryModel()->index(1, 1));
    const QRect plain = grid_->visualRect(grid_->queryModel()->index(2, 1));
    const QPoint edge(red.right() - 3, red.center().y());
    EXPECT_EQ(QColor(shot.pixel(edge)), QColor(Qt::red));
    EXPECT_NE(QColor(shot.pixel(QPoint(plain.right() - 3, plain.center().y()))), QColor(Qt::red));
}

TEST_F(Grid, TheSearchButtonOfACellPutsItsChoiceIntoTheRow) {
    query_->open();
    grid_->setColumns({GridColumn{QStringLiteral("Code"), QString(), 100, false},
                       GridColumn{QStringLiteral("Name"), QString(), 150, true}});
    grid_->queryModel()->setReadOnly(false);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    int searches = 0;
    auto* delegate = new SearchButtonDelegate(
        grid_.get(),
        [&](const QModelIndex& index, QLineEdit* edit) {
            ++searches;
            EXPECT_EQ(index.row(), 2);
            edit->setText(QStringLiteral("X9"));
        },
        true);
    grid_->setItemDelegateForColumn(0, delegate);
    ASSERT_TRUE(h_.show(grid_.get()));
    const QModelIndex cell = grid_->queryModel()->index(2, 0);
    EXPECT_FALSE(grid_->queryModel()->flags(grid_->queryModel()->index(2, 1)) & Qt::ItemIsEditable);
    grid_->setCurrentIndex(cell);
    grid_->edit(cell);
    h_.settle();
    auto* editor = grid_->findChild<SearchCellEditor*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->edit()->text(), QStringLiteral("C003"));
    EXPECT_EQ(editor->edit()->maxLength(), 10);
    QTest::mouseClick(editor->button(), Qt::LeftButton);
    EXPECT_EQ(searches, 1);
    editor->edit()->setFocus();
    h_.press(Qt::Key_F5);
    EXPECT_EQ(searches, 2);
    h_.type(QStringLiteral("y"));
    EXPECT_EQ(editor->edit()->text(), QStringLiteral("X9Y"));
    h_.press(Qt::Key_Return);
    EXPECT_EQ(query_->recNo(), 2);
    EXPECT_EQ(query_->state(), md::data::DataSetState::Edit);
    EXPECT_EQ(query_->fieldByName(QStringLiteral("Code")).asString(), QStringLiteral("X9Y"));
    EXPECT_EQ(cell.data().toString(), QStringLiteral("X9Y"));
}

}  // namespace
