#pragma once

#include <span>

// Summaries of paired samples. Both spans hold the same number of values, at least two.
namespace Statistics {

// Pearson's correlation coefficient; NaN when either side is constant.
double correlation(std::span<const double> a, std::span<const double> b);

// The population standard deviation.
double spread(std::span<const double> values);

} // namespace Statistics
