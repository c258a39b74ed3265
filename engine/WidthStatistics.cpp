#include "WidthStatistics.h"

#include <cmath>

namespace engine {

WidthStatisticsRecord WidthStatistics;

Statistics computeStatistics(const std::vector<std::int64_t>& lineWidths, std::int64_t totalWidth)
{
    Statistics s;
    const auto n = static_cast<double>(lineWidths.size());
    if (lineWidths.empty())
        return s;
    s.AverageWidth = static_cast<double>(totalWidth) / n;
    for (const std::int64_t width : lineWidths) {
        const double difference = s.AverageWidth - static_cast<double>(width);
        s.SumOfSquares += difference * difference;
    }
    s.Variance = lineWidths.size() == 1 ? s.SumOfSquares / n : s.SumOfSquares / (n - 1);
    s.StdDeviation = std::sqrt(s.Variance);
    for (std::size_t i = 0; i < fitMultipliers.size(); ++i)
        s.fits[i] = s.AverageWidth + fitMultipliers[i] * s.StdDeviation;
    s.fits[0] = s.AverageWidth;  // the 50% width is the average itself
    return s;
}

void publishStatistics(WidthStatisticsRecord& record, const Statistics& s, std::int64_t minWidth,
                       std::int64_t maxWidth)
{
    record.MinWidth = minWidth;
    record.MaxWidth = maxWidth;
    record.AverageWidth = s.AverageWidth;
    record.StdDeviation = s.StdDeviation;
    record.Fit50 = s.fits[0];
    record.Fit60 = s.fits[1];
    record.Fit70 = s.fits[2];
    record.Fit80 = s.fits[3];
    record.Fit90 = s.fits[4];
    record.Fit95 = s.fits[5];
    record.Fit99 = s.fits[6];
}

}  // namespace engine
