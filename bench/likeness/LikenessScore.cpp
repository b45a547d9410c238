#include "bench/likeness/LikenessScore.h"

#include "bench/likeness/GaussianSampling.h"
#include "bench/likeness/LinearLight.h"
#include "bench/likeness/Statistics.h"

#include <vector>

namespace {

// The centres of `count` equal parts, each `part` pixels long, from 0.
std::vector<double> centres(int count, double part)
{
    std::vector<double> points;
    for (int i = 0; i < count; ++i)
        points.push_back((i + 0.5) * part);
    return points;
}

// What the eye makes of the plane at the centres of cells `parts` times smaller than `cell`,
// blurred by a Gaussian whose standard deviation is one such part's width.
std::vector<double> lightnessAt(const Plane &plane, CellSize cell, int parts)
{
    const double width = double(cell.width) / parts;
    const double height = double(cell.height) / parts;
    std::vector<double> samples = blurredAt(plane, width, centres(plane.width / cell.width * parts, width),
                                            centres(plane.height / cell.height * parts, height));
    for (double &sample : samples)
        sample = LinearLight::lightness(sample);
    return samples;
}

} // namespace

Likeness scoreLikeness(const Plane &art, const Plane &photo, CellSize cell)
{
    const std::vector<double> artTones = lightnessAt(art, cell, 1);
    const std::vector<double> photoTones = lightnessAt(photo, cell, 1);
    Likeness likeness;
    likeness.tone = Statistics::correlation(artTones, photoTones);
    likeness.detail = Statistics::correlation(lightnessAt(art, cell, 2), lightnessAt(photo, cell, 2));
    likeness.contrast = Statistics::spread(artTones) / Statistics::spread(photoTones);
    return likeness;
}
