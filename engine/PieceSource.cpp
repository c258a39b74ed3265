#include "PieceSource.h"

#include <algorithm>
#include <cstring>

#include <cerrno>

#include <string.h>  // memrchr
#include <unistd.h>

namespace engine {

namespace {

// Where a UTF-8 sequence that the bytes before at end in without finishing
// begins, or at: a cut there keeps every sequence that may be whole.
std::size_t sequenceStart(const unsigned char* data, std::size_t at)
{
    for (std::size_t back = 1; back <= 3 && back <= at; ++back) {
        const unsigned char byte = data[at - back];
        if (byte >= 0xC0) {
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            return length > back ? at - back : at;
        }
        if (byte < 0x80)
            break;
    }
    return at;
}

// Where a piece of delimited text may end inside a record: between
// characters and not after a CR, whose LF may follow. 0 when nowhere.
std::size_t insideRecordCut16(const unsigned char* data, std::size_t size, bool bigEndian)
{
    std::size_t at = size & ~std::size_t{1};
    while (at >= 2) {
        const std::uint16_t last = utf16Unit(data + at - 2, bigEndian);
        if (last != '\r' && (last < 0xD800 || last > 0xDBFF))
            break;
        at -= 2;  // keep a CR with its LF and a surrogate with its partner
    }
    return at;
}

std::size_t insideRecordCut(const unsigned char* data, std::size_t size, Encoding encoding)
{
    if (isUtf16(encoding))
        return insideRecordCut16(data, size, encoding == Encoding::Utf16BE);
    std::size_t at = size;
    for (;;) {
        while (at > 0 && data[at - 1] == '\r')
            --at;
        const std::size_t start = sequenceStart(data, at);
        if (start == at)
            return at;
        at = start;
    }
}

Cut findCut8(const unsigned char* data, std::size_t size, std::size_t maxCarry)
{
    // A line end among the last bytes: an LF, or a CR that is not the
    // last byte (an LF may follow it in the next read).
    const std::size_t from = size > maxCarry + 1 ? size - maxCarry - 1 : 0;
    const auto* lf = static_cast<const unsigned char*>(::memrchr(data + from, '\n', size - from));
    const std::size_t afterLf = lf ? static_cast<std::size_t>(lf - data) + 1 : from;
    const unsigned char* cr = nullptr;
    if (size - afterLf >= 2)
        cr = static_cast<const unsigned char*>(::memrchr(data + afterLf, '\r', size - afterLf - 1));
    if (cr)
        return {static_cast<std::size_t>(cr - data) + 1, false};
    if (lf)
        return {afterLf, false};

    std::size_t at = size;
    if (data[at - 1] == '\r')
        --at;
    return {sequenceStart(data, at), true};
}

Cut findCut16(const unsigned char* data, std::size_t size, bool bigEndian, std::size_t maxCarry)
{
    const std::size_t units = size / 2;
    const std::size_t lowest = units > maxCarry / 2 + 1 ? units - maxCarry / 2 - 1 : 0;
    for (std::size_t i = units; i-- > lowest;) {
        const std::uint16_t unit = utf16Unit(data + 2 * i, bigEndian);
        if (unit == '\n' || (unit == '\r' && i + 1 < units))
            return {2 * (i + 1), false};
    }
    std::size_t at = 2 * units;
    if (at >= 2) {
        const std::uint16_t last = utf16Unit(data + at - 2, bigEndian);
        if (last == '\r' || (last >= 0xD800 && last <= 0xDBFF))
            at -= 2;  // keep a CR with its LF and a surrogate with its partner
    }
    return {at, true};
}

}  // namespace

Cut findCut(const unsigned char* data, std::size_t size, Encoding encoding, std::size_t maxCarry)
{
    if (isUtf16(encoding))
        return findCut16(data, size, encoding == Encoding::Utf16BE, maxCarry);
    return findCut8(data, size, maxCarry);
}

PieceSource::PieceSource(InputStream& in, std::size_t blockSize, std::function<bool(std::uint64_t)> pace,
                         const DelimitedFormat* format, int copyTo)
    : in_(in), blockSize_(std::max<std::size_t>(blockSize, 16) & ~std::size_t{1}),
      maxCarry_(std::min<std::size_t>(std::size_t{1} << 16, blockSize_ / 2)), pace_(std::move(pace)), format_(format),
      copyTo_(copyTo)
{
    carry_.reserve(maxCarry_);
}

// The first record of delimited text decides the delimiter (a .csv file's
// first record read as comma-delimited tells) and names the columns.
bool PieceSource::readFirstRecord(const unsigned char* data, std::size_t size, bool last, bool& needMore)
{
    if (!cutter_) {
        char delimiter = format_->delimiter;
        if (format_->semicolonsIfNoCommas) {
            if (!commas_)
                commas_.emplace(',', encoding_);
            commas_->scan(data, size, last);
            const std::optional<std::size_t> end = last ? commas_->firstEnd().value_or(size) : commas_->firstEnd();
            if (!end) {
                needMore = true;
                return true;
            }
            delimiter = delimiterFor(std::string_view(reinterpret_cast<const char*>(data), *end), encoding_, *format_);
        }
        cutter_.emplace(delimiter, encoding_);
    }
    cutter_->scan(data, size, last);
    const std::optional<std::size_t> end = last ? cutter_->firstEnd().value_or(size) : cutter_->firstEnd();
    if (!end) {
        needMore = true;
        return true;
    }
    const char delimiter = static_cast<char>(cutter_->delimiter());
    const HeaderRecord header =
        readHeaderRecord(std::string_view(reinterpret_cast<const char*>(data), *end), encoding_, delimiter);
    layout_.delimiter = delimiter;
    layout_.header = format_->header;
    layout_.headerNames = header.names;
    // A first record that never closes its quotes names no columns: the
    // measurement reports the quote.
    const bool unclosed = !cutter_->firstEnd() && cutter_->insideQuotes();
    if (format_->allColumns) {
        if (format_->header) {
            for (std::size_t column = 1; column <= header.names.size(); ++column)
                layout_.columns.push_back(column);
        } else {
            layout_.growing = true;
        }
    } else {
        const std::vector<ColumnChoice> first{ColumnChoice::byNumber(1)};
        for (const ColumnChoice& choice : format_->columns.empty() ? first : format_->columns) {
            std::optional<std::size_t> column = findColumn(choice, header.names, format_->header);
            if (!column && unclosed)
                column = findColumn(choice, header.names, false);
            if (!column) {
                unknownColumn_ = choice;
                state_ = State::UnknownColumn;
                return false;
            }
            if (std::find(layout_.columns.begin(), layout_.columns.end(), *column) == layout_.columns.end())
                layout_.columns.push_back(*column);
        }
    }
    layoutKnown_ = true;
    return true;
}

bool PieceSource::next(PieceBuffer& buffer, Piece& piece)
{
    const std::lock_guard lock(mutex_);
    if (state_ != State::Reading)
        return false;

    std::size_t filled = carry_.size();
    buffer.reserve(filled + blockSize_);
    if (filled > 0)
        std::memcpy(buffer.data(), carry_.data(), filled);
    carry_.clear();
    piece.entry = entry_;
    piece.endsInsideRecord = false;
    entry_ = RecordEntry{};
    if (cutter_ && layoutKnown_) {
        if (piece.entry.inside)
            cutter_->resume(piece.entry);  // the carried bytes go on with a record
        else
            cutter_->restart();  // the carried bytes begin a record
    }

    std::size_t skip = 0;  // a byte-order mark at the very start
    for (;;) {
        buffer.reserve(filled + blockSize_);
        std::size_t got = 0;
        const InputStream::Read read =
            in_.read(buffer.data() + filled, blockSize_, got, [this] { return pace_(bytesRead_); });
        bytesRead_ += got;
        if (copyTo_ >= 0 && !copyOut(buffer.data() + filled, got)) {
            state_ = State::CopyFailed;
            return false;
        }
        filled += got;
        if (read == InputStream::Read::Failed) {
            state_ = State::Failed;
            return false;
        }
        if (read == InputStream::Read::GaveUp || !pace_(bytesRead_)) {
            state_ = State::GaveUp;
            return false;
        }
        // read() stops short of a full block only where the stream ends.
        const bool last = got < blockSize_;
        if (last)
            state_ = State::Ended;

        if (first_) {
            first_ = false;
            const ByteOrderMark mark = readByteOrderMark(buffer.data(), filled);
            skip = mark.length;
            encoding_ = mark.encoding;
        }
        const unsigned char* const data = buffer.data() + skip;
        const std::size_t size = filled - skip;
        // An empty piece still ends a record the last one left open.
        if (size == 0 && !piece.entry.inside)
            return false;

        piece.data = data;
        piece.beginsInsideLine = insideLine_;
        piece.encoding = encoding_;
        if (!format_) {
            piece.sequence = sequence_++;
            piece.size = size;
            if (!last) {
                const Cut cut = findCut(data, size, encoding_, maxCarry_);
                piece.size = cut.at;
                insideLine_ = cut.insideLine;
                carry_.assign(data + cut.at, data + size);
            }
            return true;
        }

        // Delimited text: the first record decides the layout, and pieces
        // end only where records end.
        bool needMore = false;
        if (!layoutKnown_ && !readFirstRecord(data, size, last, needMore))
            return false;
        if (!needMore) {
            piece.beginsWithHeader = sequence_ == 0 && format_->header;
            if (last) {
                piece.sequence = sequence_++;
                piece.size = size;
                return true;
            }
            // A piece as long as a read that no record ends in ends inside
            // its record, so that a long record is measured by every thread.
            if (size >= blockSize_) {
                const std::size_t inside = insideRecordCut(data, size, encoding_);
                if (inside > cutter_->scanned()) {
                    cutter_->scan(data, inside, false);
                    if (!cutter_->lastEnd()) {
                        piece.sequence = sequence_++;
                        piece.size = inside;
                        piece.endsInsideRecord = true;
                        entry_ = cutter_->entry();
                        carry_.assign(data + inside, data + size);
                        return true;
                    }
                }
            }
            cutter_->scan(data, size, false);
            if (const std::optional<std::size_t> end = cutter_->lastEnd()) {
                piece.sequence = sequence_++;
                piece.size = *end;
                carry_.assign(data + *end, data + size);
                return true;
            }
        }
        if (size >= maxRecordBytes) {
            state_ = State::RecordTooLong;
            return false;
        }
        // No record ends here yet: read on into the same piece.
        if (skip > 0) {
            std::memmove(buffer.data(), data, size);
            filled = size;
            skip = 0;
        }
    }
}

bool PieceSource::copyOut(const unsigned char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(copyTo_, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            copyError_ = errno;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

PieceSource::State PieceSource::state() const
{
    const std::lock_guard lock(mutex_);
    return state_;
}

Encoding PieceSource::encoding() const
{
    const std::lock_guard lock(mutex_);
    return encoding_;
}

std::uint64_t PieceSource::bytesRead() const
{
    const std::lock_guard lock(mutex_);
    return bytesRead_;
}

}  // namespace engine
