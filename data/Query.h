#pragma once

// A query over a named connection: the statement as a list of lines, :Name parameters, typed
// fields read by name, navigation, rows fetched lazily, and buffered editing that an UpdateSql
// set writes back inside the caller's transaction.

#include "data/BufferedRow.h"
#include "data/Field.h"
#include "data/Param.h"
#include "data/UpdateSql.h"
#include "data/backend/Backend.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace md::data {

class Connection;

enum class DataSetState { Inactive, Browse, Edit, Insert };

class Query {
  public:
    explicit Query(Connection* connection = nullptr, QStringList sql = {});
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    void setConnection(Connection* connection);
    Connection* connection() const { return connection_; }

    // The statement. Changing it closes the query and finds its parameters again (values of
    // names that remain are kept).
    const QStringList& sql() const { return sql_; }
    void setSql(const QStringList& lines);
    void setSqlText(const QString& text);
    // Replaces line n (0-based) of the statement, as windows do at run time.
    void setSqlLine(int n, const QString& line);

    ParamList& params() { return params_; }
    Param& paramByName(const QString& name) { return params_.byName(name); }

    // A uni-directional query keeps only its current row: for reading a result once, to the end.
    void setUniDirectional(bool on) { uniDirectional_ = on; }

    void open();
    void close();
    bool isOpen() const { return state_ != DataSetState::Inactive; }
    // Runs a statement that returns no rows; returns the rows affected (-1 when not known).
    qint64 execSql();
    qint64 rowsAffected() const { return rowsAffected_; }

    // Navigation.
    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty();
    // Index of the current row (0-based), -1 without one.
    int recNo() const { return current_; }
    void moveTo(int row);

    // Lazy fetching, for grids: rows read so far, whether the server has more, read more.
    int fetchedCount() const { return int(rows_.size()); }
    bool allFetched() const { return result_ == nullptr; }
    int fetchMore(int count);
    // Reads everything (what recordCount() needs).
    int recordCount();
    QVariant valueAt(int row, int column) const;

    // Fields.
    int fieldCount() const { return int(fields_.size()); }
    Field& field(int i) { return fields_[size_t(i)]; }
    Field& fieldByName(const QString& name);  // throws UsageError when absent
    Field* findField(const QString& name);    // nullptr when absent
    QVariant value(const QString& name) { return fieldByName(name).value(); }

    // Buffered editing.
    DataSetState state() const { return state_; }
    void edit();    // on an empty result this starts a new row
    void insert();  // a new row before the current one
    void append();  // a new row at the end
    void post();
    void cancel();
    void deleteRecord();
    bool updatesPending() const;
    UpdateStatus updateStatus() const;
    // Writes every buffered change through `updates`. A failure leaves the buffer exactly as it
    // was, so the user's entries survive and the save can be tried again.
    void applyUpdates(const UpdateSql& updates);
    // Marks the buffered changes as written (after the transaction committed).
    void commitUpdates();
    // Throws every buffered change away.
    void cancelUpdates();

    // Row events.
    std::function<void(Query&)> onNewRecord;
    std::function<void(Query&)> afterOpen;
    std::function<void(Query&)> beforeClose;
    std::function<void(Query&)> afterScroll;

  private:
    friend class Field;
    friend class Connection;

    using Row = BufferedRow;

    void connectionGone();
    ParsedSql prepared() const;
    std::vector<QVariant> boundValues(const ParsedSql& parsed) const;
    bool ensureRow(int index);
    bool fetchOne();
    void buildFields(const std::vector<ColumnInfo>& columns);
    std::vector<QVariant> nullRow() const;
    Row* currentRow();
    const Row* currentRow() const;
    void requireOpen(const char* what) const;
    void requireEditing(const Field& f) const;
    void scrolled();
    void postPending();
    void startNewRow(int at);
    void runUpdate(const QStringList& sql, const Row& row);
    [[noreturn]] void rethrowWithStatement(const QString& statement);

    Connection* connection_ = nullptr;
    QStringList sql_;
    ParamList params_;
    bool uniDirectional_ = false;

    DataSetState state_ = DataSetState::Inactive;
    std::unique_ptr<ResultSet> result_;
    std::vector<Field> fields_;
    std::deque<Row> rows_;
    std::vector<Row> deleted_;
    int dropped_ = 0;  // rows a uni-directional query has already let go
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    qint64 rowsAffected_ = -1;
    // The current values of the row being edited as they were when the edit began.
    std::unique_ptr<BufferedRow::Values> editBackup_;
    std::vector<QVariant> fetchBuffer_;
};

}  // namespace md::data
