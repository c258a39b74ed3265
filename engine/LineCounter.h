#pragma once
// Counts one measured line (or one value of delimited text) of a piece:
// into the thread's distributions, the piece's widest candidates and, in
// check mode, the piece's lines that are too wide. Shared by the loops for
// plain text and for delimited text.

#include "LineLoop.h"

#include <array>
#include <optional>
#include <string>

namespace engine {

class LineCounter {
public:
    // Texts of check mode's records are cut to this many bytes.
    explicit LineCounter(std::optional<std::int64_t> maxWidth) : maxWidth_(maxWidth) {}

    void start(PieceResult& out, StreamTally& tally)
    {
        out_ = &out;
        tally_ = &tally;
    }

    // The text is [begin, end); quoted: the bytes of a quoted field, whose
    // doubled quotes stand for one. startLine: delimited text's own count.
    void count(const LineValue& v, const unsigned char* begin, const unsigned char* end, bool quoted = false,
               std::uint64_t startLine = 0)
    {
        const std::uint64_t line = ++out_->lines;
        if (!v.dual) {
            tally_->common.widths.add(v.width);
            if (candidates_[0].mayEnter(v.width))
                candidates_[0].offer({line, v.width, begin, end, quoted, startLine});
        } else {
            tally_->utf8.widths.add(v.width);
            tally_->windows1252.widths.add(v.widthWindows1252);
            if (candidates_[1].mayEnter(v.width))
                candidates_[1].offer({line, v.width, begin, end, quoted, startLine});
            if (candidates_[2].mayEnter(v.widthWindows1252))
                candidates_[2].offer({line, v.widthWindows1252, begin, end, quoted, startLine});
        }
        if (maxWidth_ && std::max(v.width, v.widthWindows1252) > *maxWidth_)
            out_->tooWide.push_back(
                WideRecord{line, startLine, v.width, v.widthWindows1252, text(begin, end, quoted, recordTextBytes)});
    }

    // Hands the widest candidates' texts to the piece's result.
    void finish()
    {
        for (std::size_t reading = 0; reading < candidates_.size(); ++reading)
            candidates_[reading].takeInto(out_->widest[reading]);
        out_ = nullptr;
        tally_ = nullptr;
    }

    // The bytes of a text, cut to maxBytes; a quoted field's doubled quotes
    // become one.
    static std::string text(const unsigned char* begin, const unsigned char* end, bool quoted, std::size_t maxBytes);

private:
    struct Candidate {
        std::uint64_t line;
        std::int64_t width;
        const unsigned char* begin;
        const unsigned char* end;
        bool quoted;
        std::uint64_t startLine;
    };

    // The widest lines of one reading in a piece. Only positions are kept,
    // so a file sorted by width costs no copying; the texts are taken once
    // the piece is done.
    class Candidates {
    public:
        static constexpr std::size_t kept = WidestLines::kept;

        bool mayEnter(std::int64_t width) const { return width >= floor_; }

        // Lines come in order, so a later line of equal width never displaces one.
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

        void takeInto(WidestLines& out)
        {
            for (std::size_t i = 0; i < count_; ++i) {
                const Candidate& c = items_[i];
                out.offer(c.line, c.width, text(c.begin, c.end, c.quoted, WidestLines::textBytes), c.startLine);
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
    std::array<Candidates, 3> candidates_;  // common, UTF-8 reading, Windows-1252 reading
    PieceResult* out_ = nullptr;
    StreamTally* tally_ = nullptr;
};

}  // namespace engine
