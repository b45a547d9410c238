#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The exact bytes a conversion must write, or why it must write nothing.
struct ReferenceResult
{
    QByteArray bytes;
    QString refusal; // empty when the conversion goes through
    QString fault;   // the model itself went wrong; neither bytes nor refusal can be trusted

    bool refused() const { return !refusal.isEmpty(); }
};

// Converts `source` for an output file named `outputName` (its extension picks the kind; its folder must exist).
// `ramp` runs from light to dark; a `size` below 0 leaves the picture unscaled; `detail` is in points.
ReferenceResult referenceOutput(const QString &source, const QString &outputName, const QString &ramp, float size,
                                quint8 detail, bool reminder);
