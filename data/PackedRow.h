#pragma once

// A row's values as read, packed into one block of memory: a tag and an eight-byte slot a column
// and the texts behind them. A grid over a long result holds every row it has fetched, and a
// QVariant a cell (32 bytes, and a heap block for each text and decimal) costs several times
// the data; packed, a code of ten letters takes nineteen bytes, and a Thai name a byte a
// letter (a text whose letters past ASCII lie in one block of 128 keeps one byte each). Values come back exactly as they
// went in: the same type, null-ness and contents, decimals with their scale.

#include <QVariant>
#include <vector>

namespace md::data {

class PackedRow {
  public:
    // No row (isNull()): a row that keeps its values unpacked.
    PackedRow() = default;
    explicit PackedRow(const std::vector<QVariant>& values);
    PackedRow(const PackedRow& other);
    PackedRow& operator=(const PackedRow& other);
    PackedRow(PackedRow&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    PackedRow& operator=(PackedRow&& other) noexcept;
    ~PackedRow();

    bool isNull() const { return block_ == nullptr; }
    int size() const;
    QVariant value(int column) const;
    std::vector<QVariant> values() const;
    // True when every value equals (QVariant's ==) the one of `values` at its column.
    bool equals(const std::vector<QVariant>& values) const;
    // True when every value is the very one of `values` at its column: the same type, null-ness
    // and contents (a decimal also its scale, a text also whether it is a null QString), so
    // that the row could stand for `values`.
    bool holds(const std::vector<QVariant>& values) const;

  private:
    void release();

    unsigned char* block_ = nullptr;
};

}  // namespace md::data
