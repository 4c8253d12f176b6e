#pragma once

// A bounded map from statement text to a value that forgets the least recently used entry
// when it is full.

#include <QHash>
#include <QString>
#include <cstddef>
#include <list>
#include <utility>

namespace md::embedded {

template <typename V>
class LruCache {
  public:
    explicit LruCache(size_t capacity) : capacity_(capacity < 1 ? 1 : capacity) {}

    // The value under key, now the most recently used; nullptr when there is none.
    V* find(const QString& key) {
        auto it = index_.find(key);
        if (it == index_.end())
            return nullptr;
        order_.splice(order_.begin(), order_, *it);
        return &order_.front().second;
    }

    // Stores value under key (replacing one that is there) and returns it.
    V& insert(const QString& key, V value) {
        if (auto it = index_.find(key); it != index_.end()) {
            order_.splice(order_.begin(), order_, *it);
            order_.front().second = std::move(value);
            return order_.front().second;
        }
        if (order_.size() >= capacity_) {
            index_.remove(order_.back().first);
            order_.pop_back();
        }
        order_.emplace_front(key, std::move(value));
        index_.insert(key, order_.begin());
        return order_.front().second;
    }

    void clear() {
        index_.clear();
        order_.clear();
    }
    size_t size() const { return order_.size(); }
    size_t capacity() const { return capacity_; }

  private:
    using Entry = std::pair<QString, V>;
    size_t capacity_;
    std::list<Entry> order_;  // most recently used first
    QHash<QString, typename std::list<Entry>::iterator> index_;
};

}  // namespace md::embedded
