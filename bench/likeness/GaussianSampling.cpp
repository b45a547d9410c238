#include "bench/likeness/GaussianSampling.h"

#include <algorithm>
#include <cmath>

namespace {

// The normalised weights of the pixels within reach of `centre` along a side of `length`.
struct Taps
{
    int first = 0;
    std::vector<double> weights;
};

Taps tapsAround(double centre, double sigma, int length)
{
    Taps taps;
    const double reach = 4 * sigma;
    taps.first = std::max(0, int(std::floor(centre - reach)));
    const int last = std::min(length - 1, int(std::ceil(centre + reach)));
    double total = 0;
    for (int k = taps.first; k <= last; ++k) {
        const double distance = k + 0.5 - centre;
        taps.weights.push_back(std::exp(-distance * distance / (2 * sigma * sigma)));
        total += taps.weights.back();
    }
    for (double &weight : taps.weights)
        weight /= total;
    return taps;
}

} // namespace

std::vector<double> blurredAt(const Plane &plane, double sigma, const std::vector<double> &xs, const std::vector<double> &ys)
{
    std::vector<Taps> across;
    across.reserve(xs.size());
    for (const double x : xs)
        across.push_back(tapsAround(x, sigma, plane.width));
    std::vector<double> samples;
    samples.reserve(xs.size() * ys.size());
    std::vector<double> column(std::size_t(plane.width));
    for (const double y : ys) {
        // Down first, into one row, then across that row at each point: the Gaussian separates.
        const Taps down = tapsAround(y, sigma, plane.height);
        std::fill(column.begin(), column.end(), 0.0);
        for (std::size_t k = 0; k < down.weights.size(); ++k) {
            for (int x = 0; x < plane.width; ++x)
                column[std::size_t(x)] += down.weights[k] * plane.at(x, down.first + int(k));
        }
        for (const Taps &taps : across) {
            double value = 0;
            for (std::size_t k = 0; k < taps.weights.size(); ++k)
                value += taps.weights[k] * column[std::size_t(taps.first) + k];
            samples.push_back(value);
        }
    }
    return samples;
}
