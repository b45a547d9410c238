#include "bench/likeness/SoundnessChecks.h"

#include "bench/likeness/LikenessScore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr float dimming = 0.5f;

Plane topRows(const Plane &plane, int height)
{
    Plane top(plane.width, height);
    std::copy_n(plane.values.begin(), top.values.size(), top.values.begin());
    return top;
}

// Every cell filled with the mean of its linear light: the shade the cell blends into.
Plane flatCells(const Plane &plane, CellSize cell)
{
    Plane flat(plane.width, plane.height);
    for (int top = 0; top + cell.height <= plane.height; top += cell.height) {
        for (int left = 0; left + cell.width <= plane.width; left += cell.width) {
            double sum = 0;
            for (int y = top; y < top + cell.height; ++y)
                for (int x = left; x < left + cell.width; ++x)
                    sum += plane.at(x, y);
            const auto mean = float(sum / (cell.width * cell.height));
            for (int y = top; y < top + cell.height; ++y)
                for (int x = left; x < left + cell.width; ++x)
                    flat.at(x, y) = mean;
        }
    }
    return flat;
}

Plane dimmed(Plane plane)
{
    for (float &value : plane.values)
        value *= dimming;
    return plane;
}

// Moved `shift` pixels to the right, its first column repeated into the gap.
Plane movedRight(const Plane &plane, int shift)
{
    Plane moved(plane.width, plane.height);
    for (int y = 0; y < plane.height; ++y)
        for (int x = 0; x < plane.width; ++x)
            moved.at(x, y) = plane.at(std::max(0, x - shift), y);
    return moved;
}

bool report(const char *what, const Likeness &l, const char *expected, bool holds)
{
    std::printf("%-34s tone %7.4f  detail %7.4f  contrast %7.4f  %-40s %s\n", what, l.tone, l.detail, l.contrast,
                expected, holds ? "ok" : "FAILED");
    return holds;
}

bool near(double a, double b, double tolerance) { return std::abs(a - b) <= tolerance; }

} // namespace

bool checkSoundness(const Plane &photo, const Plane &art, const Plane &other, CellSize cell)
{
    bool sound = true;
    const Likeness same = scoreLikeness(photo, photo, cell);
    sound &= report("photo against itself", same, "all 1", near(same.tone, 1, 1e-9) && near(same.detail, 1, 1e-9)
                                                               && near(same.contrast, 1, 1e-9));
    const Likeness flat = scoreLikeness(flatCells(photo, cell), photo, cell);
    sound &= report("its cells flat, each its mean", flat, "tone >= 0.99, detail below tone",
                    flat.tone >= 0.99 && flat.detail < flat.tone);
    const Likeness drawn = scoreLikeness(art, photo, cell);
    sound &= report("its art", drawn, "(the figures the others refer to)", true);
    const Likeness blended = scoreLikeness(flatCells(art, cell), photo, cell);
    sound &= report("its art, each cell flat", blended, "tone, contrast as art's: cells blend",
                    near(blended.tone, drawn.tone, 2e-3) && near(blended.contrast / drawn.contrast, 1, 1e-2));
    const Likeness dark = scoreLikeness(dimmed(art), photo, cell);
    const double darkContrast = drawn.contrast * std::cbrt(double(dimming));
    sound &= report("its art in half the light", dark, "tone, detail as art; contrast x 0.7937",
                    near(dark.tone, drawn.tone, 1e-4) && near(dark.detail, drawn.detail, 1e-4)
                        && near(dark.contrast, darkContrast, 1e-4));
    const Likeness moved = scoreLikeness(movedRight(art, cell.width), photo, cell);
    sound &= report("its art moved one cell right", moved, "tone, detail below art's",
                    moved.tone < drawn.tone && moved.detail < drawn.detail);
    const int rows = std::min(art.height, other.height) / cell.height * cell.height;
    const Likeness foreign = scoreLikeness(topRows(art, rows), topRows(other, rows), cell);
    sound &= report("its art against another photo", foreign, "tone below 0.5", foreign.tone < 0.5);
    return sound;
}
