// The largest size that fits a width: the same answer as measuring every
// listed size, whichever way the sizes' widths run, from files and from
// streams, having measured few of them.

#include "MeasureFixture.h"
#include "RandomText.h"
#include "SizeSearch.h"

#include <list>
#include <thread>

#include <sys/stat.h>

using namespace fixture;

namespace {

// A face at many sizes, with stand-in widths: each character about size
// times its own factor, hinted to whole pixels; quirks makes some sizes
// narrower than smaller ones, as hinting can.
class StandInFace {
public:
    StandInFace(int sizes, bool quirks)
    {
        for (int points = 1; points <= sizes; ++points)
            add(points, quirks && points % 7 == 3 ? points - 2 : points);
    }

    std::vector<engine::SizeChoice> choices() const
    {
        std::vector<engine::SizeChoice> out;
        int points = 1;
        for (const engine::FontWidths& font : fonts_)
            out.push_back({points++, &font});
        return out;
    }

private:
    static std::int32_t width(char32_t c, int scale)
    {
        const int factor = 3 + static_cast<int>((c * 2654435761u) >> 29);  // 3..10, fixed per character
        return static_cast<std::int32_t>((scale * factor + 5) / 8);
    }

    void add(int points, int scale)
    {
        engine::WidthTable table;
        for (int k = engine::firstTableCode; k <= engine::lastTableCode; ++k)
            table[k - engine::firstTableCode] = width(static_cast<char32_t>(k), scale);
        fonts_.emplace_back(table, [scale](char32_t c) { return width(c, scale); });
        (void)points;
    }

    std::list<engine::FontWidths> fonts_;
};

// Every size measured, once.
std::vector<engine::WidthDistribution> everySize(const std::string& path, const std::vector<engine::SizeChoice>& sizes)
{
    std::vector<engine::WidthDistribution> widths;
    for (const engine::SizeChoice& size : sizes) {
        const engine::MeasureResult r = engine::measure({path}, *size.font, {});
        EXPECT_EQ(r.outcome, engine::Outcome::Done);
        widths.push_back(engine::resolve(r.tally, 0).widths);
    }
    return widths;
}

// From every size's widths: the largest within the width, and the next up.
engine::FaceAnswer bruteForce(const std::vector<engine::WidthDistribution>& widths,
                              const std::vector<engine::SizeChoice>& sizes, int percent, std::int64_t within)
{
    std::vector<std::int64_t> fits;
    for (const engine::WidthDistribution& w : widths)
        fits.push_back(engine::shareFit(w, percent));
    engine::FaceAnswer a;
    for (std::size_t i = sizes.size(); i-- > 0;) {
        if (fits[i] <= within) {
            a.fits = engine::SizeFit{sizes[i].points, fits[i]};
            if (i + 1 < sizes.size())
                a.next = engine::SizeFit{sizes[i + 1].points, fits[i + 1]};
            return a;
        }
    }
    a.next = engine::SizeFit{sizes.front().points, fits.front()};
    return a;
}

engine::FaceAnswer bruteForce(const std::string& path, const std::vector<engine::SizeChoice>& sizes, int percent,
                              std::int64_t within)
{
    return bruteForce(everySize(path, sizes), sizes, percent, within);
}

engine::SizeSearchResult search(const engine::DataSource& source, const std::vector<engine::SizeChoice>& sizes,
                                int percent, std::int64_t within, unsigned threads = 2)
{
    engine::SizeSearchRequest request;
    request.source = source;
    request.faces = {sizes};
    request.percent = percent;
    request.within = within;
    request.options.threads = threads;
    request.options.blockSize = 4096;
    return engine::searchSizes(request);
}

TEST(SizeSearch, AnswersAsMeasuringEverySizeWould)
{
    RandomText random(18);
    TempDir dir;
    for (const bool quirks : {false, true}) {
        const StandInFace face(40, quirks);
        const std::vector<engine::SizeChoice> sizes = face.choices();
        for (int round = 0; round < 6; ++round) {
            const std::string path = dir.write(random.lines(200 + 50 * round));
            const std::vector<engine::WidthDistribution> widths = everySize(path, sizes);
            for (const int percent : {50, 90, 99, 100}) {
                for (const std::int64_t within : {0, 40, 150, 400, 1200, 100000}) {
                    SCOPED_TRACE(testing::Message() << "quirks " << quirks << ", round " << round << ", " << percent
                                                    << "% within " << within);
                    const engine::SizeSearchResult found = search({path}, sizes, percent, within, 1 + round % 3);
                    ASSERT_EQ(found.failed.outcome, engine::Outcome::Done);
                    ASSERT_EQ(found.faces.size(), 1u);
                    EXPECT_EQ(found.faces[0], bruteForce(widths, sizes, percent, within));
                }
            }
        }
    }
}

TEST(SizeSearch, ALargerSizeThatIsNarrowerIsTheAnswer)
{
    // Size 3 draws as size 1 with the quirks: when only it fits among the
    // larger sizes, it is the answer, not size 2.
    const StandInFace face(4, true);
    const std::vector<engine::SizeChoice> sizes = face.choices();
    TempDir dir;
    const std::string path = dir.write("the quick brown fox\njumps\n");
    const engine::FaceAnswer every = bruteForce(path, sizes, 100, 1000000);
    ASSERT_TRUE(every.fits);
    // The width of size 3, which size 2 exceeds.
    const engine::MeasureResult three = engine::measure({path}, *sizes[2].font, {});
    const std::int64_t within = engine::shareFit(engine::resolve(three.tally, 0).widths, 100);
    const engine::SizeSearchResult found = search({path}, sizes, 100, within);
    ASSERT_TRUE(found.faces[0].fits);
    EXPECT_EQ(found.faces[0], bruteForce(path, sizes, 100, within));
    EXPECT_EQ(found.faces[0].fits->points, 3);
}

TEST(SizeSearch, NoSizeFitsAndEverySizeFits)
{
    const StandInFace face(20, false);
    const std::vector<engine::SizeChoice> sizes = face.choices();
    TempDir dir;
    const std::string path = dir.write("some text\nmore text here\n");
    const engine::SizeSearchResult none = search({path}, sizes, 100, 0);
    EXPECT_FALSE(none.faces[0].fits);
    ASSERT_TRUE(none.faces[0].next);
    EXPECT_EQ(none.faces[0].next->points, 1);
    const engine::SizeSearchResult all = search({path}, sizes, 100, 1000000);
    ASSERT_TRUE(all.faces[0].fits);
    EXPECT_EQ(all.faces[0].fits->points, 20);
    EXPECT_FALSE(all.faces[0].next);
}

TEST(SizeSearch, MeasuresFewOfManySizes)
{
    const StandInFace face(144, true);
    const std::vector<engine::SizeChoice> sizes = face.choices();
    RandomText random(144);
    TempDir dir;
    const std::string path = dir.write(random.lines(3000));
    const engine::SizeSearchResult found = search({path}, sizes, 99, 600);
    ASSERT_EQ(found.failed.outcome, engine::Outcome::Done);
    std::size_t measured = 0;
    for (const std::size_t n : found.measured)
        measured += n;
    EXPECT_LT(measured, 48u);
    EXPECT_LE(found.measured.size(), 4u);
    EXPECT_EQ(found.faces[0], bruteForce(path, sizes, 99, 600));
}

TEST(SizeSearch, AStreamIsReadOnceAndKeptForTheLaterPasses)
{
    const StandInFace face(30, true);
    const std::vector<engine::SizeChoice> sizes = face.choices();
    RandomText random(5);
    TempDir dir;
    const std::string text = random.lines(500);
    const std::string file = dir.write(text);
    const std::string fifo = dir.path() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << text; });
    const engine::SizeSearchResult found = search({fifo}, sizes, 90, 300);
    writer.join();
    ASSERT_EQ(found.failed.outcome, engine::Outcome::Done);
    EXPECT_GT(found.measured.size(), 1u);  // more than one pass, from one read
    EXPECT_EQ(found.faces[0], bruteForce(file, sizes, 90, 300));
}

TEST(SizeSearch, BoundsHoldForEveryLine)
{
    // A line's width in one font lies within the bounds from another's,
    // over the characters it holds.
    const StandInFace face(30, true);
    const std::vector<engine::SizeChoice> sizes = face.choices();
    RandomText random(77);
    TempDir dir;
    const std::string path = dir.write(random.lines(300));
    engine::MeasureOptions options;
    options.characters = true;
    for (const std::size_t a : {3u, 11u, 25u}) {
        const engine::MeasureResult anchor = engine::measure({path}, *sizes[a].font, options);
        const std::set<char32_t> chars = anchor.characters.characters(anchor.tally.encoding);
        for (std::size_t s = 0; s < sizes.size(); ++s) {
            const engine::MeasureResult other = engine::measure({path}, *sizes[s].font, {});
            for (const int percent : {50, 80, 100}) {
                const std::int64_t fit = engine::shareFit(engine::resolve(other.tally, 0).widths, percent);
                const engine::FitBounds b = engine::fitBounds(
                    *sizes[s].font, *sizes[a].font, engine::shareFit(engine::resolve(anchor.tally, 0).widths, percent),
                    chars);
                EXPECT_LE(b.least, fit) << "size " << s + 1 << " from " << a + 1;
                ASSERT_TRUE(b.most);
                EXPECT_GE(*b.most, fit) << "size " << s + 1 << " from " << a + 1;
            }
        }
    }
}

}  // namespace
