#pragma once

#include <QByteArrayView>

// Whether a JPEG stream runs from its start marker through every segment and scan to its end
// marker. The decoder pads a stream that stops early with grey and reports success, so a
// truncated file is caught here instead.
bool jpegReachesEndMarker(QByteArrayView data);
