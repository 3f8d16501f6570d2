#pragma once

#include <cstddef>
#include <vector>

namespace lq {

// A fixed-capacity first-in first-out store: once full, each new item replaces the oldest. All its memory is
// taken at construction, so a long recording never allocates.
template <class T> class TrendRing {
  public:
    explicit TrendRing(std::size_t capacity) : items_(capacity) {}

    std::size_t Capacity() const { return items_.size(); }
    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }

    void PushBack(const T& item) {
        if (items_.empty()) return;
        items_[(head_ + size_) % items_.size()] = item;
        if (size_ < items_.size())
            ++size_;
        else
            head_ = (head_ + 1) % items_.size();
    }
    void PopFront() {
        if (size_ == 0) return;
        head_ = (head_ + 1) % items_.size();
        --size_;
    }
    // Oldest first: [0] is the oldest, [Size() - 1] the newest.
    const T& operator[](std::size_t i) const { return items_[(head_ + i) % items_.size()]; }
    const T& Front() const { return (*this)[0]; }
    const T& Back() const { return (*this)[size_ - 1]; }

  private:
    std::vector<T> items_;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
};

} // namespace lq
