#pragma once

#include "engine/decode/MemoryBudget.h"
#include "engine/StopToken.h"

#include <QByteArrayView>

// Whether a picture file holds all its picture data: Qt's decoders fill a file that stops early
// with black or grey and report success, so a cut-short file is caught here. JPEG, PNG, GIF,
// BMP, icon and cursor files are walked through their structure; other kinds count as whole.
// A JPEG without its end marker, a GIF without its trailer and a run-length bitmap without its
// end-of-bitmap code are whole when nothing of the picture is missing before that end. A JPEG
// may be decoded to tell, within `budget` (throwing as JpegDecoder::open() does); that ends,
// false, once `stop` is requested.
bool pictureFileIsWhole(QByteArrayView data, const StopToken &stop = {}, const MemoryBudget &budget = MemoryBudget::standard());

// The structural walks, one per kind; each is false for data of another kind.
bool jpegReachesEndMarker(QByteArrayView data);
bool pngReachesEndChunk(QByteArrayView data);
bool gifHoldsWholeBlocks(QByteArrayView data); // every block whole, up to the trailer or the end
bool bmpHoldsAllRows(QByteArrayView data);
bool iconHoldsAllImages(QByteArrayView data);
