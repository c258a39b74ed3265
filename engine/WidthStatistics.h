#pragma once
// The results of the last calculation, shared by the results window and
// the report, and how they are computed from the distribution of widths.

#include "WidthDistribution.h"

#include <array>
#include <cstdint>
#include <string>

namespace engine {

struct WidthStatisticsRecord {
    std::int64_t MinWidth = -1;  // -1: no line seen
    std::int64_t MaxWidth = -1;
    double AverageWidth = 0;
    double StdDeviation = 0;
    double Fit50 = 0;
    double Fit60 = 0;
    double Fit70 = 0;
    double Fit80 = 0;
    double Fit90 = 0;
    double Fit95 = 0;
    double Fit99 = 0;
    std::string ReportPath;  // the last report saved
};

// The process-wide record.
extern WidthStatisticsRecord WidthStatistics;

// The shares the fit widths are given for, and the multiple of the standard
// deviation added to the average for each. Each lies a little above the
// standard-normal quantile of its share; the published values are kept.
inline constexpr std::array<int, 7> fitShares{50, 60, 70, 80, 90, 95, 99};
inline constexpr std::array<double, 7> fitMultipliers{0, 0.26, 0.54, 0.85, 1.29, 1.645, 2.33};

struct Statistics {
    std::uint64_t LineCount = 0;
    std::int64_t TotalWidth = 0;
    std::int64_t MinWidth = -1;
    std::int64_t MaxWidth = -1;
    double AverageWidth = 0;
    double SumOfSquares = 0;
    double Variance = 0;  // sample variance (N - 1); 0 for a single line
    double StdDeviation = 0;
    std::array<double, 7> fits{};  // estimated, in the order of fitShares
    // Measured: the smallest width that at least that share of the lines
    // fit in (the nearest rank), in the order of fitShares.
    std::array<std::int64_t, 7> exactFits{};
};

// Needs at least one line.
Statistics computeStatistics(const WidthDistribution& widths);

// The nearest rank of a share: the ceil(percent * lines / 100)-th smallest.
std::uint64_t nearestRank(int percent, std::uint64_t lines);

// The record that shows these statistics; ReportPath is kept from before.
WidthStatisticsRecord statisticsRecord(const Statistics& statistics, const std::string& reportPath);

}  // namespace engine
