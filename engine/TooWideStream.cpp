#include "TooWideStream.h"

#include <cstdint>
#include <new>

namespace engine {

namespace {

template <class T>
void put(std::FILE* file, const T& value)
{
    if (std::fwrite(&value, sizeof value, 1, file) != 1)
        throw std::bad_alloc();  // a temporary file that cannot hold them: out of room
}

template <class T>
bool get(std::FILE* file, T& value)
{
    return std::fread(&value, sizeof value, 1, file) == 1;
}

}  // namespace

TooWideStream::TooWideStream(std::int64_t maxWidth, Sink sink, std::size_t heldBytes)
    : maxWidth_(maxWidth), sink_(std::move(sink)), heldLimit_(heldBytes)
{
}

TooWideStream::~TooWideStream()
{
    if (spilled_)
        std::fclose(spilled_);
}

void TooWideStream::hand(const WideRecord& record, Encoding encoding)
{
    if (auto line = resolveTooWide(record, encoding, maxWidth_))
        sink_(*line);
}

void TooWideStream::add(WideRecord record, Encoding reading)
{
    if (reading != Encoding::Utf8 || (!record.dual && held_.empty() && !spilled_)) {
        hand(record, reading);
        return;
    }
    heldBytes_ += record.text.size() + sizeof record;
    held_.push_back(std::move(record));
    if (heldBytes_ > heldLimit_)
        spill();
}

void TooWideStream::spill()
{
    if (!spilled_) {
        spilled_ = std::tmpfile();
        if (!spilled_) {
            heldLimit_ = SIZE_MAX;  // no temporary file to be had: they wait in memory
            return;
        }
    }
    for (const WideRecord& r : held_) {
        put(spilled_, r.target);
        put(spilled_, r.line);
        put(spilled_, r.startLine);
        put(spilled_, r.width);
        put(spilled_, r.widthWindows1252);
        put(spilled_, r.dual);
        put(spilled_, r.text.size());
        if (!r.text.empty() && std::fwrite(r.text.data(), 1, r.text.size(), spilled_) != r.text.size())
            throw std::bad_alloc();
    }
    held_.clear();
    heldBytes_ = 0;
}

void TooWideStream::decide(Encoding encoding)
{
    if (spilled_) {
        std::rewind(spilled_);
        WideRecord r;
        std::size_t size = 0;
        while (get(spilled_, r.target) && get(spilled_, r.line) && get(spilled_, r.startLine) && get(spilled_, r.width)
               && get(spilled_, r.widthWindows1252) && get(spilled_, r.dual) && get(spilled_, size)) {
            r.text.resize(size);
            if (size > 0 && std::fread(r.text.data(), 1, size, spilled_) != size)
                break;
            hand(r, encoding);
        }
        std::fclose(spilled_);
        spilled_ = nullptr;
    }
    for (const WideRecord& record : held_)
        hand(record, encoding);
    held_.clear();
    heldBytes_ = 0;
}

}  // namespace engine
