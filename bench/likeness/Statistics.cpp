#include "bench/likeness/Statistics.h"

#include <cmath>
#include <numeric>

namespace {

double mean(std::span<const double> values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

} // namespace

double Statistics::correlation(std::span<const double> a, std::span<const double> b)
{
    const double meanA = mean(a);
    const double meanB = mean(b);
    double ab = 0;
    double aa = 0;
    double bb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double da = a[i] - meanA;
        const double db = b[i] - meanB;
        ab += da * db;
        aa += da * da;
        bb += db * db;
    }
    return ab / std::sqrt(aa * bb);
}

double Statistics::spread(std::span<const double> values)
{
    const double m = mean(values);
    double squares = 0;
    for (const double v : values)
        squares += (v - m) * (v - m);
    return std::sqrt(squares / double(values.size()));
}
