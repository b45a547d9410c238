#pragma once

#include <QByteArrayView>

// Whether a picture file runs whole to its own end: Qt's decoders fill a file that stops early
// with black or grey and report success, so a cut-short file is caught here. JPEG, PNG, GIF,
// BMP, icon and cursor files are walked through their structure; other kinds count as whole.
bool pictureFileIsWhole(QByteArrayView data);

// The structural walks, one per kind; each is false for data of another kind.
bool jpegReachesEndMarker(QByteArrayView data);
bool pngReachesEndChunk(QByteArrayView data);
bool gifReachesTrailer(QByteArrayView data);
bool bmpHoldsAllRows(QByteArrayView data);
bool iconHoldsAllImages(QByteArrayView data);
