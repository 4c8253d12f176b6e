#include "data/BufferedRow.h"

namespace md::data {

BufferedRow BufferedRow::packed(const Values& values) {
    BufferedRow row;
    row.read_ = PackedRow(values);
    return row;
}

BufferedRow BufferedRow::unpacked(std::unique_ptr<Values> values) {
    BufferedRow row;
    row.current_ = values ? std::move(values) : std::make_unique<Values>();
    return row;
}

BufferedRow BufferedRow::inserted(const Values& values) {
    BufferedRow row;
    row.read_ = PackedRow(values);
    row.current_ = std::make_unique<Values>(values);
    row.status_ = UpdateStatus::Inserted;
    return row;
}

BufferedRow::BufferedRow(const BufferedRow& other)
    : read_(other.read_), current_(other.snapshot()), status_(other.status_) {}

BufferedRow& BufferedRow::operator=(const BufferedRow& other) {
    if (this != &other) {
        read_ = other.read_;
        current_ = other.snapshot();
        status_ = other.status_;
    }
    return *this;
}

QVariant BufferedRow::value(int column) const {
    if (current_)
        return column >= 0 && size_t(column) < current_->size() ? (*current_)[size_t(column)]
                                                                : QVariant();
    return read_.value(column);
}

QVariant BufferedRow::original(int column) const {
    return isUnpacked() ? value(column) : read_.value(column);
}

bool BufferedRow::changed() const {
    return current_ && !isUnpacked() && !read_.equals(*current_);
}

void BufferedRow::set(int column, const QVariant& v) {
    // The values as read must survive the change: an unpacked row packs them first.
    if (isUnpacked())
        read_ = current_ ? PackedRow(*current_) : PackedRow(Values{});
    if (!current_)
        current_ = std::make_unique<Values>(read_.values());
    if (column >= 0 && size_t(column) < current_->size())
        (*current_)[size_t(column)] = v;
}

std::unique_ptr<BufferedRow::Values> BufferedRow::snapshot() const {
    return current_ ? std::make_unique<Values>(*current_) : nullptr;
}

void BufferedRow::restore(std::unique_ptr<Values> current) {
    if (!current && isUnpacked())
        return;  // an unpacked row always holds its values
    current_ = std::move(current);
    settle();
}

void BufferedRow::settle() {
    if (current_ && !isUnpacked() && read_.holds(*current_))
        current_.reset();
}

void BufferedRow::revert() {
    if (!isUnpacked())
        current_.reset();
}

void BufferedRow::commit() {
    if (current_ && !isUnpacked()) {
        read_ = PackedRow(*current_);
        current_.reset();
    }
}

bool BufferedRow::swapUnpacked(Values& values) {
    if (!isUnpacked() || !current_)
        return false;
    current_->swap(values);
    return true;
}

std::unique_ptr<BufferedRow::Values> BufferedRow::takeUnpacked() {
    return isUnpacked() ? std::move(current_) : nullptr;
}

}  // namespace md::data
