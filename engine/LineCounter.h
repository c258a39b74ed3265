#pragma once
// Counts the measured values of a piece, target by target: into the
// thread's distributions, the piece's widest candidates and, in check
// mode, the piece's lines that are too wide. Shared by the loop over lines
// and the loop over records.

#include "CsvGrammar.h"
#include "PieceResult.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace engine {

// Where a value's text is in the piece; quoted: the bytes of a field as
// written, quotes and all, whose text the grammar gives.
// from: the grammar's state at begin, when a piece began inside the field.
struct TextSpan {
    const unsigned char* begin = nullptr;
    const unsigned char* end = nullptr;
    bool quoted = false;
    csv::State from = csv::State::FieldStart;
};

class LineCounter {
public:
    explicit LineCounter(std::optional<std::int64_t> maxWidth) : maxWidth_(maxWidth) {}

    // encoding and delimiter: how quoted fields are read.
    void start(PieceResult& out, StreamTally& tally, Encoding encoding, char delimiter = ',');

    // Makes room for targets 0..targets-1; the loops ask before counting.
    void reserve(std::size_t targets);

    // Counts a value of the line or record numbered line in the piece.
    [[gnu::always_inline]] void count(std::size_t target, const LineValue& v, const TextSpan& text,
                                      std::uint64_t line, std::uint64_t startLine = 0)
    {
        TargetTally& tally = tally_->targets[target];
        Readings<Candidates>& candidates = candidates_[target];
        if (!v.dual) {
            tally.common.widths.add(v.width);
            if (candidates.common.mayEnter(v.width))
                candidates.common.offer({line, v.width, text, startLine});
        } else {
            tally.utf8.widths.add(v.width);
            tally.windows1252.widths.add(v.widthWindows1252);
            if (candidates.utf8.mayEnter(v.width))
                candidates.utf8.offer({line, v.width, text, startLine});
            if (candidates.windows1252.mayEnter(v.widthWindows1252))
                candidates.windows1252.offer({line, v.widthWindows1252, text, startLine});
        }
        if (maxWidth_ && std::max(v.width, v.widthWindows1252) > *maxWidth_)
            out_->tooWide.push_back(WideRecord{target, line, startLine, v.width, v.widthWindows1252, v.dual,
                                               this->text(text, recordTextBytes)});
    }

    // Counts the empty values (0 wide, no text) of the piece's first n
    // records, of which first lists the earliest: of a column that only a
    // later record has. Check mode's limit is never below 0 for them.
    void countEmpty(std::size_t target, std::uint64_t n, const std::vector<RecordNumbers>& first)
    {
        if (n == 0)
            return;
        tally_->targets[target].common.widths.add(0, n);
        Candidates& candidates = candidates_[target].common;
        for (std::size_t i = 0; i < first.size() && first[i].record <= n; ++i)
            if (candidates.mayEnter(0))
                candidates.offer({first[i].record, 0, TextSpan{}, first[i].startLine});
    }

    // Hands the widest candidates' texts to the piece's result.
    void finish();

    // The bytes of a text, cut to maxBytes.
    std::string text(const TextSpan& span, std::size_t maxBytes) const;

private:
    struct Candidate {
        std::uint64_t line;
        std::int64_t width;
        TextSpan text;
        std::uint64_t startLine;
    };

    // The widest values of one reading in a piece. Only positions are kept,
    // so a file sorted by width costs no copying; the texts are taken once
    // the piece is done.
    class Candidates {
    public:
        static constexpr std::size_t kept = WidestLines::kept;

        bool mayEnter(std::int64_t width) const { return width >= floor_; }

        // Values come in order, so a later one of equal width never displaces one.
        void offer(const Candidate& candidate)
        {
            std::size_t i = count_ < kept ? count_ : kept - 1;
            while (i > 0 && items_[i - 1].width < candidate.width) {
                items_[i] = items_[i - 1];
                --i;
            }
            items_[i] = candidate;
            if (count_ < kept)
                ++count_;
            if (count_ == kept)
                floor_ = items_[kept - 1].width + 1;
        }

        template <class Text>
        void takeInto(WidestLines& out, const Text& text)
        {
            for (std::size_t i = 0; i < count_; ++i) {
                const Candidate& c = items_[i];
                out.offer(c.line, c.width, text(c.text), c.startLine);
            }
            count_ = 0;
            floor_ = INT64_MIN;
        }

    private:
        std::array<Candidate, kept> items_{};
        std::size_t count_ = 0;
        std::int64_t floor_ = INT64_MIN;
    };

    const std::optional<std::int64_t> maxWidth_;
    std::vector<Readings<Candidates>> candidates_;
    PieceResult* out_ = nullptr;
    StreamTally* tally_ = nullptr;
    Encoding encoding_ = Encoding::Utf8;
    char delimiter_ = ',';
};

}  // namespace engine
