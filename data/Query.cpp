#include "data/Query.h"

#include "data/Connection.h"
#include "data/backend/DbError.h"

namespace md::data {

Query::Query(Connection* connection, QStringList sql) {
    setConnection(connection);
    setSql(sql);
}

Query::~Query() {
    // No events from a query that is going away: its owner may be half destroyed already.
    beforeClose = nullptr;
    close();
    if (connection_)
        connection_->detach(this);
}

void Query::setConnection(Connection* connection) {
    if (connection == connection_)
        return;
    close();
    if (connection_)
        connection_->detach(this);
    connection_ = connection;
    if (connection_)
        connection_->attach(this);
}

void Query::connectionGone() {
    result_.reset();
    rows_.clear();
    deleted_.clear();
    fields_.clear();
    state_ = DataSetState::Inactive;
    connection_ = nullptr;
}

void Query::setSql(const QStringList& lines) {
    close();
    sql_ = lines;
    params_.resetNames(parseParameters(sql_.join(u'\n')).distinctNames());
}

void Query::setSqlText(const QString& text) {
    setSql(text.split(u'\n'));
}

void Query::setSqlLine(int n, const QString& line) {
    if (n < 0 || n >= sql_.size()) {
        throw UsageError(QStringLiteral("Statement has no line %1").arg(n));
    }
    QStringList lines = sql_;
    lines[n] = line;
    setSql(lines);
}

ParsedSql Query::prepared() const {
    return parseParameters(sql_.join(u'\n'));
}

std::vector<QVariant> Query::boundValues(const ParsedSql& parsed) const {
    std::vector<QVariant> values;
    values.reserve(parsed.references.size());
    for (const QString& name : parsed.references) {
        const Param* p = params_.find(name);
        if (!p || !p->isSet()) {
            throw UsageError(QStringLiteral("Parameter '%1' has no value").arg(name));
        }
        values.push_back(p->value());
    }
    return values;
}

void Query::rethrowWithStatement(const QString& statement) {
    try {
        throw;
    } catch (DbError& e) {
        e.setStatement(statement);
        throw;
    }
}

void Query::open() {
    if (isOpen())
        return;
    if (!connection_)
        throw UsageError(QStringLiteral("Query has no connection"));
    const ParsedSql parsed = prepared();
    const std::vector<QVariant> values = boundValues(parsed);
    try {
        auto result = connection_->session().execute(parsed.text, values);
        // A statement after the first result that already failed is raised now, as the
        // batch's error: opening never reports success over it.
        raiseBatchErrors(result->takeErrors(ResultSet::ErrorScope::SoFar));
        result_ = std::move(result);
    } catch (const DbError&) {
        rethrowWithStatement(sql_.join(u'\n'));
    }
    rowsAffected_ = result_->rowsAffected();
    buildFields(result_->columns());
    if (fields_.empty())
        result_.reset();
    rows_.clear();
    deleted_.clear();
    dropped_ = 0;
    state_ = DataSetState::Browse;
    current_ = -1;
    eof_ = bof_ = true;
    if (ensureRow(0)) {
        current_ = 0;
        eof_ = false;  // bof stays true: the first row is current
    }
    if (afterOpen)
        afterOpen(*this);
    scrolled();
}

void Query::close() {
    if (!isOpen())
        return;
    if (beforeClose)
        beforeClose(*this);
    result_.reset();
    rows_.clear();
    deleted_.clear();
    fields_.clear();
    current_ = -1;
    eof_ = bof_ = true;
    state_ = DataSetState::Inactive;
}

qint64 Query::execSql() {
    close();
    if (!connection_)
        throw UsageError(QStringLiteral("Query has no connection"));
    const ParsedSql parsed = prepared();
    const std::vector<QVariant> values = boundValues(parsed);
    try {
        auto result = connection_->session().execute(parsed.text, values);
        rowsAffected_ = result->rowsAffected();
        // Drain every result so that all statements of the batch have run.
        while (result->nextResult()) {
            if (result->rowsAffected() >= 0)
                rowsAffected_ = result->rowsAffected();
        }
    } catch (const DbError&) {
        rethrowWithStatement(sql_.join(u'\n'));
    }
    return rowsAffected_;
}

void Query::buildFields(const std::vector<ColumnInfo>& columns) {
    fields_.clear();
    fields_.reserve(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        QString name = columns[i].name;
        // A second column of the same name is reachable as Name_1, a third as Name_2, ...
        int suffix = 0;
        auto taken = [&](const QString& n) {
            for (const Field& f : fields_) {
                if (f.name().compare(n, Qt::CaseInsensitive) == 0)
                    return true;
            }
            return false;
        };
        QString candidate = name;
        while (taken(candidate))
            candidate = name + u'_' + QString::number(++suffix);
        fields_.emplace_back(this, int(i), candidate, columns[i]);
    }
}

std::vector<QVariant> Query::nullRow() const {
    std::vector<QVariant> row;
    row.reserve(fields_.size());
    for (const Field& f : fields_) {
        const auto t = f.info().type == QMetaType::UnknownType ? QMetaType::QString : f.info().type;
        row.emplace_back(QMetaType(t));
    }
    return row;
}

bool Query::fetchOne() {
    if (!result_)
        return false;
    bool got = false;
    try {
        got = result_->fetch(fetchBuffer_);
    } catch (const DbError&) {
        result_.reset();
        rethrowWithStatement(sql_.join(u'\n'));
    }
    if (!got) {
        // With the rows read to their end, a backend may know of a statement after them that
        // failed: it is the query's error, never a success.
        std::vector<DbError> later = result_->takeErrors(ResultSet::ErrorScope::SoFar);
        result_.reset();  // everything read: free the server side at once
        try {
            raiseBatchErrors(later);
        } catch (const DbError&) {
            rethrowWithStatement(sql_.join(u'\n'));
        }
        return false;
    }
    if (uniDirectional_) {
        // The row let go lends its values to the next fetch: reading a result once allocates
        // nothing a row but its texts. Its one row takes the values read in place.
        if (rows_.size() == 1 && rows_.front().swapUnpacked(fetchBuffer_)) {
            ++dropped_;
            return true;
        }
        std::unique_ptr<BufferedRow::Values> values;
        if (!rows_.empty()) {
            values = rows_.front().takeUnpacked();
            rows_.pop_front();
            ++dropped_;
        }
        if (!values)
            values = std::make_unique<BufferedRow::Values>();
        values->swap(fetchBuffer_);
        rows_.push_back(BufferedRow::unpacked(std::move(values)));
        return true;
    }
    rows_.push_back(BufferedRow::packed(fetchBuffer_));
    return true;
}

bool Query::ensureRow(int index) {
    while (dropped_ + int(rows_.size()) <= index) {
        if (!fetchOne())
            return false;
    }
    return index >= dropped_;
}

int Query::fetchMore(int count) {
    int got = 0;
    while (got < count && fetchOne())
        ++got;
    return got;
}

int Query::recordCount() {
    requireOpen("recordCount");
    while (fetchOne()) {
    }
    return dropped_ + int(rows_.size());
}

QVariant Query::valueAt(int row, int column) const {
    const int i = row - dropped_;
    if (i < 0 || i >= int(rows_.size()) || column < 0 || column >= int(fields_.size()))
        return {};
    return rows_[size_t(i)].value(column);
}

Query::Row* Query::currentRow() {
    const int i = current_ - dropped_;
    if (current_ < 0 || i < 0 || i >= int(rows_.size()))
        return nullptr;
    return &rows_[size_t(i)];
}

const Query::Row* Query::currentRow() const {
    return const_cast<Query*>(this)->currentRow();
}

void Query::requireOpen(const char* what) const {
    if (!isOpen()) {
        throw UsageError(QStringLiteral("Cannot %1: query is not open").arg(QLatin1String(what)));
    }
}

void Query::requireEditing(const Field& f) const {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) {
        throw UsageError(
            QStringLiteral("Cannot set field '%1': query is not in edit or insert mode")
                .arg(f.name()));
    }
}

void Query::scrolled() {
    if (afterScroll)
        afterScroll(*this);
}

// Moving away from a row being edited keeps its entries, as a grid user expects.
void Query::postPending() {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        post();
}

void Query::first() {
    requireOpen("move");
    postPending();
    if (uniDirectional_ && dropped_ > 0) {
        throw UsageError(QStringLiteral("Cannot go back in a uni-directional query"));
    }
    bof_ = true;
    eof_ = !ensureRow(0);
    current_ = eof_ ? -1 : 0;
    scrolled();
}

void Query::next() {
    requireOpen("move");
    postPending();
    bof_ = false;
    if (current_ >= 0 && ensureRow(current_ + 1)) {
        ++current_;
        eof_ = false;
    } else {
        eof_ = true;
    }
    scrolled();
}

void Query::prior() {
    requireOpen("move");
    postPending();
    eof_ = false;
    if (current_ > dropped_) {
        --current_;
        bof_ = false;
    } else {
        bof_ = true;
    }
    scrolled();
}

void Query::last() {
    requireOpen("move");
    postPending();
    while (fetchOne()) {
    }
    const int total = dropped_ + int(rows_.size());
    current_ = total - 1;
    eof_ = true;
    bof_ = total == 0;
    scrolled();
}

void Query::moveTo(int row) {
    requireOpen("move");
    postPending();
    if (row < 0 || !ensureRow(row)) {
        throw UsageError(QStringLiteral("Row %1 does not exist").arg(row));
    }
    current_ = row;
    eof_ = bof_ = false;
    scrolled();
}

bool Query::isEmpty() {
    if (!isOpen())
        return true;
    return rows_.empty() && dropped_ == 0 && !ensureRow(0);
}

void Query::startNewRow(int at) {
    rows_.insert(rows_.begin() + at, BufferedRow::inserted(nullRow()));
    current_ = dropped_ + at;
    eof_ = bof_ = false;
    state_ = DataSetState::Insert;
    if (onNewRecord)
        onNewRecord(*this);
}

void Query::edit() {
    requireOpen("edit");
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return;
    if (!currentRow()) {
        append();
        return;
    }
    editBackup_ = currentRow()->snapshot();
    state_ = DataSetState::Edit;
}

void Query::insert() {
    requireOpen("insert");
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        post();
    const int at = currentRow() ? current_ - dropped_ : int(rows_.size());
    startNewRow(at);
}

void Query::append() {
    requireOpen("append");
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        post();
    while (fetchOne()) {
    }
    startNewRow(int(rows_.size()));
}

void Query::post() {
    if (state_ == DataSetState::Edit) {
        Row* row = currentRow();
        if (row->status() == UpdateStatus::Unmodified && row->changed())
            row->setStatus(UpdateStatus::Modified);
        // Entries that end as they were read cost nothing more.
        row->settle();
    }
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
        state_ = DataSetState::Browse;
    }
}

void Query::cancel() {
    if (state_ == DataSetState::Edit) {
        currentRow()->restore(std::move(editBackup_));
    } else if (state_ == DataSetState::Insert) {
        rows_.erase(rows_.begin() + (current_ - dropped_));
        const int total = dropped_ + int(rows_.size());
        if (current_ >= total)
            current_ = total - 1;
        eof_ = bof_ = total == 0;
    }
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
        state_ = DataSetState::Browse;
        scrolled();
    }
}

void Query::deleteRecord() {
    requireOpen("delete");
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    if (state_ == DataSetState::Edit)
        cancel();
    Row* row = currentRow();
    if (!row)
        throw UsageError(QStringLiteral("Cannot delete: no current row"));
    if (row->status() != UpdateStatus::Inserted) {
        // What gets deleted is the row as it was read; pending edits do not matter.
        row->setStatus(UpdateStatus::Deleted);
        deleted_.push_back(std::move(*row));
    }
    rows_.erase(rows_.begin() + (current_ - dropped_));
    const int total = dropped_ + int(rows_.size());
    if (current_ >= total && !ensureRow(current_))
        current_ = total - 1;
    eof_ = bof_ = total == 0 && !result_;
    scrolled();
}

bool Query::updatesPending() const {
    if (!deleted_.empty())
        return true;
    for (const Row& r : rows_) {
        if (r.status() != UpdateStatus::Unmodified)
            return true;
    }
    return state_ == DataSetState::Insert ||
           (state_ == DataSetState::Edit && currentRow() && currentRow()->changed());
}

UpdateStatus Query::updateStatus() const {
    const Row* r = currentRow();
    return r ? r->status() : UpdateStatus::Unmodified;
}

void Query::runUpdate(const QStringList& sql, const Row& row) {
    if (sql.isEmpty())
        return;
    const ParsedSql parsed = parseParameters(sql.join(u'\n'));
    std::vector<QVariant> values;
    values.reserve(parsed.references.size());
    for (const QString& ref : parsed.references) {
        const bool old = ref.startsWith(QStringLiteral("OLD_"), Qt::CaseInsensitive);
        const QString column = old ? ref.mid(4) : ref;
        const Field* f = findField(column);
        if (!f) {
            throw UsageError(
                QStringLiteral("Update statement names '%1' but the query has no field '%2'")
                    .arg(ref, column));
        }
        values.push_back(old ? row.original(f->index()) : row.value(f->index()));
    }
    try {
        auto result = connection_->session().execute(parsed.text, values);
        while (result->nextResult()) {
        }
    } catch (const DbError&) {
        rethrowWithStatement(sql.join(u'\n'));
    }
}

void Query::applyUpdates(const UpdateSql& updates) {
    requireOpen("apply updates");
    post();
    // Nothing in the buffer changes here: on failure the caller rolls back its transaction and
    // the same entries can be applied again.
    for (const Row& r : deleted_)
        runUpdate(updates.deleteSql, r);
    for (const Row& r : rows_) {
        if (r.status() == UpdateStatus::Modified)
            runUpdate(updates.modifySql, r);
        if (r.status() == UpdateStatus::Inserted)
            runUpdate(updates.insertSql, r);
    }
}

void Query::commitUpdates() {
    post();
    deleted_.clear();
    for (Row& r : rows_) {
        r.commit();
        r.setStatus(UpdateStatus::Unmodified);
    }
}

void Query::cancelUpdates() {
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        cancel();
    for (auto it = rows_.begin(); it != rows_.end();) {
        if (it->status() == UpdateStatus::Inserted) {
            it = rows_.erase(it);
            continue;
        }
        it->revert();
        it->setStatus(UpdateStatus::Unmodified);
        ++it;
    }
    // Deleted rows come back at the end; their original order is not kept.
    for (Row& r : deleted_) {
        r.revert();
        r.setStatus(UpdateStatus::Unmodified);
        rows_.push_back(std::move(r));
    }
    deleted_.clear();
    const int total = dropped_ + int(rows_.size());
    if (current_ >= total)
        current_ = total - 1;
    if (current_ < 0 && total > 0)
        current_ = 0;
    eof_ = bof_ = total == 0;
    scrolled();
}

Field& Query::fieldByName(const QString& name) {
    if (Field* f = findField(name))
        return *f;
    throw UsageError(QStringLiteral("Field '%1' not found").arg(name));
}

Field* Query::findField(const QString& name) {
    for (Field& f : fields_) {
        if (f.name().compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

}  // namespace md::data
