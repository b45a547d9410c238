#include "viewer/ScaledPicture.h"

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

int channel(float sum) { return std::clamp(int(sum + 0.5f), 0, 255); }

// Where red, green and blue sit among the four bytes of a Format_RGB32 pixel.
constexpr int redByte = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 2 : 1;
constexpr int greenByte = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 1 : 2;
constexpr int blueByte = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 0 : 3;

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
    // Down first, across whole source rows as plain bytes, which the compiler turns into vector
    // code; then across, from those sums.
    const int spanLeft = m_x.first[std::size_t(r.left())];
    const auto lastColumn = std::size_t(r.right());
    const int spanRight = m_x.first[lastColumn] + (m_x.begin[lastColumn + 1] - m_x.begin[lastColumn]);
    const auto span = std::size_t(4 * (spanRight - spanLeft));
    std::vector<float> down(span);
    for (int y = 0; y < r.height(); ++y) {
        std::fill(down.begin(), down.end(), 0.0f);
        const auto j = std::size_t(r.top() + y);
        for (int k = m_y.begin[j]; k < m_y.begin[j + 1]; ++k) {
            const uchar *row = m_source.constScanLine(m_y.first[j] + (k - m_y.begin[j])) + 4 * spanLeft;
            const float w = m_y.weights[std::size_t(k)];
            for (std::size_t b = 0; b < span; ++b)
                down[b] += w * float(row[b]);
        }
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < r.width(); ++x) {
            const auto i = std::size_t(r.left() + x);
            float red = 0, green = 0, blue = 0;
            const float *pixel = down.data() + 4 * (m_x.first[i] - spanLeft);
            for (int k = m_x.begin[i]; k < m_x.begin[i + 1]; ++k, pixel += 4) {
                const float w = m_x.weights[std::size_t(k)];
                red += w * pixel[redByte];
                green += w * pixel[greenByte];
                blue += w * pixel[blueByte];
            }
            line[x] = qRgb(channel(red), channel(green), channel(blue));
        }
    }
    return out;
}
