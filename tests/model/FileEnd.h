#pragma once

class QByteArray;

// Whether a picture file runs, by its own structure, to its end: the end marker of a JPEG, the end chunk
// of a PNG, the trailer of a GIF, every pixel row a BMP announces, every image an icon or cursor file lists.
// A file that stops short is refused even when a decoder would make something of it.
bool jpegReachesEnd(const QByteArray &data);
bool pngReachesEnd(const QByteArray &data);
bool gifReachesEnd(const QByteArray &data);
bool bmpReachesEnd(const QByteArray &data);
bool iconReachesEnd(const QByteArray &data);

// Dispatches on the decoder's format name ("jpeg", "png", "gif", "bmp", "ico", "cur"); other formats pass.
bool fileReachesEnd(const QByteArray &data, const QByteArray &format);
