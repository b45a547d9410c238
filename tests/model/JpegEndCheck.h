#pragma once

class QByteArray;

// True when the JPEG data runs, marker by marker, to an end-of-image marker; false when it stops short.
bool jpegReachesEnd(const QByteArray &data);
