#pragma once
// The bytes of a piece: a block of memory that grows without being filled
// first, and grows in place where the system can move its pages rather
// than copy them, so a record of many megabytes costs little more than its
// bytes.

#include <cstddef>
#include <cstdlib>
#include <new>

namespace engine {

class PieceBuffer {
public:
    PieceBuffer() = default;
    ~PieceBuffer() { std::free(data_); }
    PieceBuffer(const PieceBuffer&) = delete;
    PieceBuffer& operator=(const PieceBuffer&) = delete;
    PieceBuffer(PieceBuffer&& other) noexcept : data_(other.data_), size_(other.size_)
    {
        other.data_ = nullptr;
        other.size_ = 0;
    }

    unsigned char* data() { return data_; }
    std::size_t size() const { return size_; }

    // Room for at least size bytes; what was there stays. Throws
    // std::bad_alloc when there is no memory for it.
    void reserve(std::size_t size)
    {
        if (size <= size_)
            return;
        const std::size_t grown = size < 2 * size_ ? 2 * size_ : size;
        void* const moved = std::realloc(data_, grown);
        if (!moved)
            throw std::bad_alloc();
        data_ = static_cast<unsigned char*>(moved);
        size_ = grown;
    }

private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace engine
