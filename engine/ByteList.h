#pragma once

// The bytes of one line: a vector of bytes that keeps up to eight of them in
// place, as every instruction's fit, so that only long DB and DW lists take
// memory of their own. A run makes one of these per line of the source.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>

class ByteList {
  public:
    using value_type = std::uint8_t;
    using iterator = std::uint8_t*;
    using const_iterator = const std::uint8_t*;

    ByteList() = default;
    ByteList(std::initializer_list<std::uint8_t> bytes) { *this = bytes; }
    ByteList(const ByteList& other) { *this = other; }
    ByteList(ByteList&& other) noexcept { take(other); }
    ~ByteList() { release(); }

    ByteList& operator=(const ByteList& other) {
        if (this != &other)
            assign(other.begin(), other.count);
        return *this;
    }
    ByteList& operator=(ByteList&& other) noexcept {
        if (this != &other) {
            release();
            take(other);
        }
        return *this;
    }
    ByteList& operator=(std::initializer_list<std::uint8_t> bytes) {
        assign(bytes.begin(), static_cast<std::uint32_t>(bytes.size()));
        return *this;
    }

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    std::uint8_t* begin() { return data(); }
    std::uint8_t* end() { return data() + count; }
    const std::uint8_t* begin() const { return data(); }
    const std::uint8_t* end() const { return data() + count; }
    std::uint8_t& operator[](std::size_t i) { return data()[i]; }
    std::uint8_t operator[](std::size_t i) const { return data()[i]; }

    void push_back(std::uint8_t byte) {
        if (count == capacity)
            reserve(2 * capacity);
        data()[count++] = byte;
    }
    // Keeps the storage, for the next run.
    void clear() { count = 0; }

    friend bool operator==(const ByteList& a, const ByteList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

  private:
    static constexpr std::uint32_t inPlace = 8;

    bool onHeap() const { return capacity > inPlace; }
    std::uint8_t* data() { return onHeap() ? heap : local; }
    const std::uint8_t* data() const { return onHeap() ? heap : local; }

    void reserve(std::uint32_t wanted) {
        if (wanted <= capacity)
            return;
        auto* grown = new std::uint8_t[wanted];
        std::memcpy(grown, data(), count);
        release();
        heap = grown;
        capacity = wanted;
    }
    void assign(const std::uint8_t* bytes, std::uint32_t size) {
        reserve(size);
        std::memcpy(data(), bytes, size);
        count = size;
    }
    void release() {
        if (onHeap())
            delete[] heap;
        capacity = inPlace;
    }
    // Takes the bytes of `other`, which is left empty.
    void take(ByteList& other) {
        count = other.count;
        capacity = other.capacity;
        if (other.onHeap())
            heap = other.heap;
        else
            std::memcpy(local, other.local, count);
        other.count = 0;
        other.capacity = inPlace;
    }

    std::uint32_t count = 0;
    std::uint32_t capacity = inPlace;
    union {
        std::uint8_t local[inPlace];
        std::uint8_t* heap;
    };
};
