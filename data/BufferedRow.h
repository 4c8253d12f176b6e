#pragma once

// One row of a query's buffer: its values as read, packed, and its current values only once the
// row is being changed (copy on write), with its update status. An unchanged row costs only its
// packed block. A uni-directional query keeps its one row unpacked instead, since it lets every
// row go at the next.

#include "data/PackedRow.h"

#include <QVariant>
#include <memory>
#include <vector>

namespace md::data {

enum class UpdateStatus { Unmodified, Modified, Inserted, Deleted };

class BufferedRow {
  public:
    using Values = std::vector<QVariant>;

    BufferedRow() = default;
    // A row as read, packed.
    static BufferedRow packed(const Values& values);
    // A row as read kept as it is: `values` are both the values as read and the current ones.
    static BufferedRow unpacked(std::unique_ptr<Values> values);
    // A new row: as read and current, the values given (nulls of the columns' types).
    static BufferedRow inserted(const Values& values);

    BufferedRow(const BufferedRow& other);
    BufferedRow& operator=(const BufferedRow& other);
    BufferedRow(BufferedRow&&) noexcept = default;
    BufferedRow& operator=(BufferedRow&&) noexcept = default;
    ~BufferedRow() = default;

    UpdateStatus status() const { return status_; }
    void setStatus(UpdateStatus s) { status_ = s; }

    QVariant value(int column) const;
    QVariant original(int column) const;
    // True when a current value differs from its value as read.
    bool changed() const;
    void set(int column, const QVariant& v);

    // The current values while they are kept apart from those as read (nullptr otherwise), to
    // be given back by restore(), as cancelling an edit does.
    std::unique_ptr<Values> snapshot() const;
    void restore(std::unique_ptr<Values> current);
    // Lets go of current values equal to those as read.
    void settle();
    // The current values become those as read again.
    void revert();
    // The values as read become the current ones (the row was written).
    void commit();
    // The values of an unpacked row, for reading the next row into (nullptr for another row).
    std::unique_ptr<Values> takeUnpacked();
    // An unpacked row takes `values` as its values and gives its own back in their place, for
    // the next row to be read into; false (and nothing changed) for another row.
    bool swapUnpacked(Values& values);

  private:
    bool isUnpacked() const { return read_.isNull(); }

    PackedRow read_;                   // null for an unpacked row
    std::unique_ptr<Values> current_;  // an unpacked row's values, or a changed row's
    UpdateStatus status_ = UpdateStatus::Unmodified;
};

}  // namespace md::data
