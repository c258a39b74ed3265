#include "SizeSearch.h"

#include "WidthStatistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>

#include <system_error>
#include <unistd.h>

namespace engine {

namespace {

// Products of widths and fits, exact past 64 bits.
__extension__ using Wide = __int128;

// A ratio of two widths, compared without rounding.
struct Ratio {
    std::int64_t num = 0;
    std::int64_t den = 1;
    bool operator<(const Ratio& o) const { return static_cast<Wide>(num) * o.den < static_cast<Wide>(o.num) * den; }
};

std::int64_t floorTimes(std::int64_t fit, Ratio r)
{
    return static_cast<std::int64_t>(static_cast<Wide>(fit) * r.num / r.den);
}

std::int64_t ceilTimes(std::int64_t fit, Ratio r)
{
    const Wide product = static_cast<Wide>(fit) * r.num;
    return static_cast<std::int64_t>((product + r.den - 1) / r.den);
}

// A temporary file for a stream's copy, gone from the folder at once and
// from the disk when closed.
class Copy {
public:
    Copy()
    {
        const char* folder = std::getenv("TMPDIR");
        std::string name = std::string(folder && *folder ? folder : "/tmp") + "/spanwick-copy-XXXXXX";
        fd_ = ::mkstemp(name.data());
        if (fd_ >= 0)
            ::unlink(name.c_str());
        error_ = fd_ < 0 ? errno : 0;
    }
    ~Copy()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;

    int fd() const { return fd_; }
    int error() const { return error_; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_ = -1;
    int error_ = 0;
};

// What is known of one face's sizes.
class Face {
public:
    Face(const std::vector<SizeChoice>& sizes, std::int64_t within) : sizes_(sizes), within_(within) {}

    void measured(std::size_t index, std::int64_t fit) { fits_[index] = fit; }

    // Its first sizes to measure: up to count, spread evenly from the
    // smallest to the largest in the ratio of sizes.
    std::vector<std::size_t> spread(std::size_t count) const
    {
        std::vector<std::size_t> chosen;
        const std::size_t n = sizes_.size();
        if (n == 0)
            return chosen;
        const double least = std::max(1, sizes_.front().points), most = std::max(1, sizes_.back().points);
        for (std::size_t k = 0; k < count; ++k) {
            const double wanted = count == 1 ? most : least * std::pow(most / least, double(k) / double(count - 1));
            std::size_t best = 0;
            for (std::size_t i = 1; i < n; ++i)
                if (std::abs(sizes_[i].points - wanted) < std::abs(sizes_[best].points - wanted))
                    best = i;
            if (std::find(chosen.begin(), chosen.end(), best) == chosen.end())
                chosen.push_back(best);
        }
        return chosen;
    }

    // The sizes still to measure before the answer is proven, most needed
    // first; none when it is.
    std::vector<std::size_t> wanted(const std::set<char32_t>& characters)
    {
        // Down from the largest: every size proven too wide, to the first
        // that is not. It is the answer once measured within the width.
        std::optional<std::size_t> top;
        for (std::size_t i = sizes_.size(); i-- > 0;) {
            if (!tooWide(i, characters)) {
                top = i;
                break;
            }
        }
        std::vector<std::size_t> want;
        const auto need = [&](std::size_t i) {
            if (!fits_.count(i))
                want.push_back(i);
        };
        if (!top) {
            need(0);  // none fits: the smallest and what it needs
            return want;
        }
        need(*top);
        if (*top + 1 < sizes_.size())
            need(*top + 1);
        if (!want.empty()) {
            // The sizes below that the bounds leave open: measured with it,
            // they spare a pass should it turn out too wide.
            for (std::size_t i = *top; i-- > 0;)
                if (!fits_.count(i) && !provenWithin(i, characters) && !tooWide(i, characters))
                    want.push_back(i);
        }
        return want;
    }

    FaceAnswer answer(const std::set<char32_t>& characters)
    {
        FaceAnswer a;
        for (std::size_t i = sizes_.size(); i-- > 0;) {
            if (tooWide(i, characters))
                continue;
            a.fits = SizeFit{sizes_[i].points, fits_.at(i)};
            if (i + 1 < sizes_.size())
                a.next = SizeFit{sizes_[i + 1].points, fits_.at(i + 1)};
            return a;
        }
        if (!sizes_.empty())
            a.next = SizeFit{sizes_.front().points, fits_.at(0)};
        return a;
    }

    const SizeChoice& size(std::size_t i) const { return sizes_[i]; }

private:
    // The bounds of size i from the measured sizes, nearest first.
    FitBounds bounds(std::size_t i, const std::set<char32_t>& characters, bool wantLeast) const
    {
        std::vector<std::size_t> anchors;
        for (const auto& [k, fit] : fits_)
            anchors.push_back(k);
        std::sort(anchors.begin(), anchors.end(), [&](std::size_t a, std::size_t b) {
            return std::abs(sizes_[a].points - sizes_[i].points) < std::abs(sizes_[b].points - sizes_[i].points);
        });
        FitBounds best{std::numeric_limits<std::int64_t>::min(), std::nullopt};
        for (const std::size_t a : anchors) {
            const FitBounds b = fitBounds(*sizes_[i].font, *sizes_[a].font, fits_.at(a), characters);
            best.least = std::max(best.least, b.least);
            if (b.most && (!best.most || *b.most < *best.most))
                best.most = b.most;
            if (wantLeast ? best.least > within_ : best.most && *best.most <= within_)
                break;  // decided
        }
        return best;
    }

    bool tooWide(std::size_t i, const std::set<char32_t>& characters) const
    {
        if (const auto found = fits_.find(i); found != fits_.end())
            return found->second > within_;
        return bounds(i, characters, true).least > within_;
    }

    bool provenWithin(std::size_t i, const std::set<char32_t>& characters) const
    {
        const FitBounds b = bounds(i, characters, false);
        return b.most && *b.most <= within_;
    }

    const std::vector<SizeChoice>& sizes_;
    const std::int64_t within_;
    std::map<std::size_t, std::int64_t> fits_;  // the measured sizes
};

}  // namespace

std::int64_t shareFit(const WidthDistribution& widths, int percent)
{
    return widths.nthSmallest(nearestRank(percent, widths.lineCount()));
}

FitBounds fitBounds(const FontWidths& font, const FontWidths& measured, std::int64_t fit,
                    const std::set<char32_t>& characters)
{
    constexpr FitBounds none{std::numeric_limits<std::int64_t>::min(), std::nullopt};
    std::optional<Ratio> least, most;
    bool unbounded = false;
    for (const char32_t c : characters) {
        const std::int64_t mine = font.width(c), theirs = measured.width(c);
        if (mine < 0 || theirs < 0)
            return none;  // a negative advance: a line may shrink as it grows
        if (theirs == 0) {
            unbounded = unbounded || mine > 0;  // no ratio: it may add as much as it likes
            continue;
        }
        const Ratio r{mine, theirs};
        if (!least || r < *least)
            least = r;
        if (!most || *most < r)
            most = r;
    }
    if (fit < 0)
        return none;
    FitBounds b;
    b.least = least ? ceilTimes(fit, *least) : 0;
    if (!unbounded)
        b.most = most ? floorTimes(fit, *most) : 0;
    return b;
}

SizeSearchResult searchSizes(const SizeSearchRequest& request)
{
    SizeSearchResult result;
    std::vector<Face> faces;
    for (const std::vector<SizeChoice>& sizes : request.faces)
        faces.emplace_back(sizes, request.within);
    result.statistics.resize(faces.size());

    std::optional<Copy> copy;
    DataSource source = request.source;
    std::set<char32_t> characters;
    // The first pass: a few sizes of each face, spread over its list.
    std::vector<std::vector<std::size_t>> wanted(faces.size());
    const std::size_t first = std::max<std::size_t>(1, std::min<std::size_t>(4, request.batch / std::max<std::size_t>(1, faces.size())));
    for (std::size_t f = 0; f < faces.size(); ++f)
        wanted[f] = faces[f].spread(first);
    for (bool firstPass = true;; firstPass = false) {
        // Fill the pass with the most needed sizes of every face in turn.
        std::vector<std::pair<std::size_t, std::size_t>> pass;  // face, size
        for (std::size_t depth = 0; pass.size() < request.batch; ++depth) {
            bool any = false;
            for (std::size_t f = 0; f < faces.size() && pass.size() < request.batch; ++f) {
                if (depth < wanted[f].size()) {
                    pass.emplace_back(f, wanted[f][depth]);
                    any = true;
                }
            }
            if (!any)
                break;
        }
        if (pass.empty())
            break;
        MeasureRequest measuring{source, {}, request.options};
        for (const auto& [f, i] : pass)
            measuring.fonts.push_back(faces[f].size(i).font);
        measuring.options.characters = firstPass;
        measuring.options.maxWidth.reset();
        measuring.options.tooWide = nullptr;
        if (firstPass && readableOnlyOnce(source)) {
            copy.emplace();
            if (copy->fd() < 0) {
                result.failed.outcome = Outcome::Unreadable;
                result.failed.reason = "cannot keep a copy to read again: " +
                                       std::error_code(copy->error(), std::generic_category()).message();
                return result;
            }
            measuring.options.copyTo = copy->fd();
        }
        MeasureResult measured = measure(measuring);
        if (measured.outcome != Outcome::Done) {
            result.failed = std::move(measured);
            return result;
        }
        if (firstPass) {
            characters = measured.characters.characters(measured.tally.encoding);
            if (copy)
                source = DataSource{copy->path(), false};
        }
        result.measured.push_back(pass.size());
        for (std::size_t k = 0; k < pass.size(); ++k) {
            const auto [f, i] = pass[k];
            const Measurement m = resolve(measured.tally, k);
            faces[f].measured(i, shareFit(m.widths, request.percent));
            if (m.widths.lineCount() > 0)
                result.statistics[f][faces[f].size(i).points] = computeStatistics(m.widths);
        }
        for (std::size_t f = 0; f < faces.size(); ++f)
            wanted[f] = faces[f].wanted(characters);
    }
    for (Face& face : faces)
        result.faces.push_back(face.answer(characters));
    return result;
}

}  // namespace engine
