#include "ScaledPicture.h"

#include <algorithm>
#include <cmath>

ScaledPicture::Taps ScaledPicture::taps(int source, int target)
{
    Taps t;
    t.nearest = target >= source;
    t.first.resize(std::size_t(target));
    t.begin.resize(std::size_t(target) + 1);
    if (t.nearest) {
        for (int i = 0; i < target; ++i) {
            // The source pixel under the centre of target pixel i.
            t.first[std::size_t(i)] = int((2 * qint64(i) + 1) * source / (2 * qint64(target)));
            t.begin[std::size_t(i)] = i;
        }
        t.begin[std::size_t(target)] = target;
        t.weights.assign(std::size_t(target), 1.0f);
        return t;
    }
    const double scale = double(source) / target;
    for (int i = 0; i < target; ++i) {
        const double from = i * scale;
        const double to = (i + 1) * scale;
        const int first = int(std::floor(from));
        const int end = std::min(source, int(std::ceil(to)));
        t.first[std::size_t(i)] = first;
        t.begin[std::size_t(i)] = int(t.weights.size());
        for (int j = first; j < end; ++j)
            t.weights.push_back(float((std::min(to, j + 1.0) - std::max(from, double(j))) / scale));
    }
    t.begin[std::size_t(target)] = int(t.weights.size());
    return t;
}

void ScaledPicture::set(const QImage &source, QSize target)
{
    if (source.cacheKey() == m_source.cacheKey() && target == m_target)
        return;
    const bool sameAxes = source.size() == m_source.size();
    const QSize previous = m_target;
    m_source = source;
    m_target = target.isValid() ? target : QSize(0, 0);
    if (!sameAxes || previous.width() != m_target.width())
        m_x = taps(source.width(), m_target.width());
    if (!sameAxes || previous.height() != m_target.height())
        m_y = taps(source.height(), m_target.height());
}

namespace {

// Adds `weight` times the target pixels of one source row, reduced across by `x`, into `sums`.
void addRow(const QRgb *row, const ScaledPicture::Taps &x, int left, int width, float weight, float *sums)
{
    for (int c = 0; c < width; ++c) {
        const auto i = std::size_t(left + c);
        float r = 0, g = 0, b = 0;
        const int first = x.first[i];
        for (int k = x.begin[i]; k < x.begin[i + 1]; ++k) {
            const QRgb p = row[first + (k - x.begin[i])];
            const float w = x.weights[std::size_t(k)];
            r += w * float(qRed(p));
            g += w * float(qGreen(p));
            b += w * float(qBlue(p));
        }
        sums[3 * c] += weight * r;
        sums[3 * c + 1] += weight * g;
        sums[3 * c + 2] += weight * b;
    }
}

int channel(float sum) { return std::clamp(int(sum + 0.5f), 0, 255); }

} // namespace

QImage ScaledPicture::render(const QRect &area) const
{
    const QRect r = area & QRect(QPoint(0, 0), m_target);
    if (r.isEmpty() || m_source.isNull())
        return {};
    QImage out(r.size(), QImage::Format_RGB32);
    if (m_x.nearest && m_y.nearest) {
        for (int y = 0; y < r.height(); ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(m_source.constScanLine(m_y.first[std::size_t(r.top() + y)]));
            auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
            for (int x = 0; x < r.width(); ++x)
                line[x] = row[m_x.first[std::size_t(r.left() + x)]];
        }
        return out;
    }
    std::vector<float> sums(std::size_t(3 * r.width()));
    for (int y = 0; y < r.height(); ++y) {
        std::fill(sums.begin(), sums.end(), 0.0f);
        const auto j = std::size_t(r.top() + y);
        const int first = m_y.first[j];
        for (int k = m_y.begin[j]; k < m_y.begin[j + 1]; ++k) {
            const auto *row = reinterpret_cast<const QRgb *>(m_source.constScanLine(first + (k - m_y.begin[j])));
            addRow(row, m_x, r.left(), r.width(), m_y.weights[std::size_t(k)], sums.data());
        }
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < r.width(); ++x)
            line[x] = qRgb(channel(sums[std::size_t(3 * x)]), channel(sums[std::size_t(3 * x + 1)]), channel(sums[std::size_t(3 * x + 2)]));
    }
    return out;
}
