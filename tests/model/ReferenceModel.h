#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

// What a conversion must write: the file's exact bytes, or why it must write nothing.
struct ReferenceResult
{
    QByteArray bytes;
    QString refusal; // empty when the conversion goes through

    bool refused() const { return !refusal.isEmpty(); }
};

// What the user may choose beyond the window's defaults.
struct ReferenceLook
{
    bool page = false; // a complete HTML page, whatever the name
    bool utf8 = false; // text in UTF-8
    QSize cell;        // the picture cut into cells of this many pixels; empty: the detail's
};

// A second, deliberately plain conversion that shares no source with engine/ or cli/. `outputName`'s extension
// picks the kind of file; `ramp` runs from light to dark; a `size` below 0 leaves the picture unscaled.
ReferenceResult referenceOutput(const QString &source, const QString &outputName, const QString &ramp, float size,
                                int detail, bool reminder, const ReferenceLook &look = {});
