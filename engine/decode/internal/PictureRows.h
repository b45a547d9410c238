#pragma once

#include <QImage>
#include <QSize>
#include <memory>

// A picture handed out row by row from the top, each row size().width() pixels of 0xFFRRGGBB,
// so a run can measure a photo while it is still being decoded.
class PictureRows
{
public:
    virtual ~PictureRows() = default;

    virtual QSize size() const = 0;
    // The next row, valid until the next call; null when the file turns out to be damaged.
    virtual const QRgb *nextRow() = 0;
    // Reads past the rows not asked for; false when the file turns out to be damaged there.
    virtual bool finish() { return true; }
    // After a failure: whether the file stops early, rather than holding damaged data.
    virtual bool stoppedEarly() const { return false; }
    // A second reader of the same picture whose first row is `firstRow`, reading on its own, for a
    // picture whose lower rows can be decoded beside its upper ones; null for any other. Once it
    // exists this reader is meant for the rows above `firstRow` only.
    virtual std::unique_ptr<PictureRows> rowsFrom(int firstRow)
    {
        Q_UNUSED(firstRow);
        return nullptr;
    }
    // What passing over a row costs such a second reader, as a share of what reading it costs.
    virtual double skipCost() const { return 0; }
};

// The rows of a picture decoded whole. `picture` must be in Format_RGB32.
class ImageRows : public PictureRows
{
public:
    explicit ImageRows(QImage picture) : m_picture(std::move(picture)) {}

    QSize size() const override { return m_picture.size(); }
    const QRgb *nextRow() override
    {
        return m_next < m_picture.height() ? reinterpret_cast<const QRgb *>(m_picture.constScanLine(m_next++)) : nullptr;
    }
    // The picture is shared, never copied: both readers only read it.
    std::unique_ptr<PictureRows> rowsFrom(int firstRow) override
    {
        auto lower = std::make_unique<ImageRows>(m_picture);
        lower->m_next = firstRow;
        return lower;
    }

private:
    QImage m_picture;
    int m_next = 0;
};
