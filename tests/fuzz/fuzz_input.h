#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lq {

// Hands out a fuzzer input piece by piece; once the bytes run out every read gives zeros, so a target never
// has to check how much is left before deciding what to do next.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }
    std::size_t Remaining() const { return size_ - pos_; }

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    std::uint16_t Word() {
        const std::uint16_t hi = Byte();
        return static_cast<std::uint16_t>(hi << 8 | Byte());
    }

    std::int32_t Int32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | Byte();
        return static_cast<std::int32_t>(v);
    }

    // Up to n bytes, fewer when the input ends first.
    std::string Bytes(std::size_t n) {
        const std::size_t take = n < Remaining() ? n : Remaining();
        std::string out(reinterpret_cast<const char*>(data_ + pos_), take);
        pos_ += take;
        return out;
    }

    std::string Rest() { return Bytes(Remaining()); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

} // namespace lq
