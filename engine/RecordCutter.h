#pragma once
// Where the records of delimited text end, for cutting a stream into pieces
// of whole records. The data arrives a read at a time and the scan goes on
// from where it stopped, so each byte is read once however long a record
// is. The grammar decides; 64 bytes at a time, the parity of the quotes
// gives the same answer faster wherever every quote opens or closes a
// field, and the grammar takes over wherever one does not.

#include "CsvGrammar.h"
#include "TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace engine {

// Where a piece begins inside a record too long for one piece: the
// grammar's state there and the field it is in, from 1.
struct RecordEntry {
    bool inside = false;
    csv::State state = csv::State::FieldStart;
    std::size_t field = 1;
};

class RecordCutter {
public:
    RecordCutter(char delimiter, Encoding encoding);

    // The scan starts again at a record's start: at the bytes carried over
    // after a cut.
    void restart();
    // The scan starts again inside a record, where entry says.
    void resume(const RecordEntry& entry);

    // Reads on through data[0, size), which begins with what the last call
    // saw. atEnd: no more bytes follow.
    void scan(const unsigned char* data, std::size_t size, bool atEnd);

    // Just after the last record's line end that more bytes cannot change
    // (a CR as the last byte may be half of a CR LF), if there is one.
    std::optional<std::size_t> lastEnd() const { return lastEnd_; }
    unsigned char delimiter() const { return classes_.delimiter(); }

    // Whether the bytes scanned end inside quotes.
    bool insideQuotes() const { return !csv::mayEndIn(state_); }

    // Where the bytes scanned end, as a piece that begins there would
    // enter the record they end in: known while no record has ended since
    // the scan began, as is so wherever a piece is cut inside a record.
    RecordEntry entry() const { return {true, state_, fields_ + 1}; }
    std::size_t scanned() const { return scanned_; }

    // The same for the first record since the start.
    std::optional<std::size_t> firstEnd() const { return firstEnd_; }

private:
    void scanUnits(const unsigned char* data, std::size_t from, std::size_t to);
    std::size_t parityBlocks(const unsigned char* data, std::size_t at, std::size_t size);
    void recordEnd(std::size_t after, bool byCR);
    void setEnd(std::size_t after);
    void confirmCR();

    const csv::Classes classes_;
    const Encoding encoding_;
    std::size_t scanned_ = 0;
    csv::State state_ = csv::State::FieldStart;
    std::size_t fields_ = 0;  // delimiters outside quotes since the scan began
    bool countingFields_ = true;  // no record has ended since
    std::optional<std::size_t> lastEnd_;
    std::optional<std::size_t> firstEnd_;
    std::optional<std::size_t> crEnd_;  // a record ended by a CR that was the last byte read
};

}  // namespace engine
