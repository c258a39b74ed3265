#include "WidthStatistics.h"

#include <cmath>
#include <cstdint>

namespace engine {

WidthStatisticsRecord WidthStatistics;

std::uint64_t nearestRank(int percent, std::uint64_t lines)
{
    // Split so that no product can overflow, however many lines.
    const std::uint64_t hundreds = lines / 100, rest = lines % 100;
    const auto p = static_cast<std::uint64_t>(percent);
    return hundreds * p + (rest * p + 99) / 100;
}

Statistics computeStatistics(const WidthDistribution& widths)
{
    Statistics s;
    s.LineCount = widths.lineCount();
    if (s.LineCount == 0)
        return s;
    s.MinWidth = widths.minWidth();
    s.MaxWidth = widths.maxWidth();
    const auto n = static_cast<double>(s.LineCount);
    if (const auto total = widths.totalWidth()) {
        s.TotalWidth = *total;
        s.AverageWidth = static_cast<double>(s.TotalWidth) / n;
    } else {
        // Beyond 64 bits: the average from a wider sum.
        long double sum = 0;
        widths.forEach([&sum](std::int64_t width, std::uint64_t count) {
            sum += static_cast<long double>(width) * static_cast<long double>(count);
        });
        s.TotalWidth = sum < 0 ? INT64_MIN : INT64_MAX;
        s.AverageWidth = static_cast<double>(sum / static_cast<long double>(s.LineCount));
    }
    widths.forEach([&s](std::int64_t width, std::uint64_t count) {
        const double difference = s.AverageWidth - static_cast<double>(width);
        s.SumOfSquares += static_cast<double>(count) * (difference * difference);
    });
    s.Variance = s.LineCount == 1 ? s.SumOfSquares / n : s.SumOfSquares / (n - 1);
    s.StdDeviation = std::sqrt(s.Variance);
    for (std::size_t i = 0; i < fitMultipliers.size(); ++i)
        s.fits[i] = s.AverageWidth + fitMultipliers[i] * s.StdDeviation;
    s.fits[0] = s.AverageWidth;  // the 50% width is the average itself

    // One walk up the distribution finds every rank, smallest share first.
    std::size_t next = 0;
    std::uint64_t seen = 0;
    widths.forEach([&](std::int64_t width, std::uint64_t count) {
        seen += count;
        while (next < fitShares.size() && seen >= nearestRank(fitShares[next], s.LineCount))
            s.exactFits[next++] = width;
    });
    return s;
}

WidthStatisticsRecord statisticsRecord(const Statistics& s, const std::string& reportPath)
{
    WidthStatisticsRecord record;
    record.MinWidth = s.MinWidth;
    record.MaxWidth = s.MaxWidth;
    record.AverageWidth = s.AverageWidth;
    record.StdDeviation = s.StdDeviation;
    record.Fit50 = s.fits[0];
    record.Fit60 = s.fits[1];
    record.Fit70 = s.fits[2];
    record.Fit80 = s.fits[3];
    record.Fit90 = s.fits[4];
    record.Fit95 = s.fits[5];
    record.Fit99 = s.fits[6];
    record.ReportPath = reportPath;
    return record;
}

}  // namespace engine
