#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// What the fuzz targets share.
namespace Fuzz {

// Qt's application object, made once and without a display: Qt's readers and the drawing of
// characters need it.
void startQt(const char *program);

// A name in this process's scratch folder, removed with it at exit.
QString scratchPath(const QString &name);
// The same file holding `bytes`, for readers that open a name.
QString scratchFile(const QString &name, QByteArrayView bytes);

// The options of one input. An input whose first byte is 1 to 31, which begins no file a target is
// seeded with, gives them in its first four bytes, taken off; any other, a seed for instance, takes
// them from a hash of itself, so that the seeds vary them too.
quint32 takeOptions(QByteArrayView &data);

// Whether the data is a JPEG of more than 16 megapixels, which the targets leave out: decoding one
// takes seconds under the sanitizers however short its file (an arithmetic-coded scan that meets a
// marker is read on as zeros, as the standard has it), where most inputs take a millisecond.
bool isLargeJpeg(QByteArrayView data);

} // namespace Fuzz
