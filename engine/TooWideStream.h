#pragma once
// Check mode's lines over the limit, handed on in file order as soon as
// the reading they are shown in is known: at once for UTF-16, for lines of
// ASCII and once a byte has broken UTF-8. Lines whose width depends on the
// reading wait for it, and so does every line after them; past a bound
// they wait in a temporary file, so memory stays small on any input.

#include "StreamTally.h"

#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>

namespace engine {

class TooWideStream {
public:
    using Sink = std::function<void(const WideLine&)>;

    // heldBytes: how much text waits in memory before it waits on disk.
    TooWideStream(std::int64_t maxWidth, Sink sink, std::size_t heldBytes = std::size_t{8} << 20);
    ~TooWideStream();
    TooWideStream(const TooWideStream&) = delete;
    TooWideStream& operator=(const TooWideStream&) = delete;

    // The next record in file order, with the reading as known so far
    // (Utf8: still open).
    void add(WideRecord record, Encoding reading);
    // The reading is known: the records that waited go on.
    void decide(Encoding encoding);

private:
    void spill();
    void hand(const WideRecord& record, Encoding encoding);

    const std::int64_t maxWidth_;
    const Sink sink_;
    std::size_t heldLimit_;
    std::deque<WideRecord> held_;
    std::size_t heldBytes_ = 0;
    std::FILE* spilled_ = nullptr;  // the earliest of the waiting records
};

}  // namespace engine
