#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <filesystem>

// File names as the file system holds them: bytes, mostly UTF-8 text but not always. A name read
// from bytes keeps each byte that is not part of UTF-8 text as a character of its own, U+DC80 to
// U+DCFF (halves of a pair, which text read from UTF-8 never holds alone), so that the name turned
// back into bytes opens the very file. Names of text alone are their UTF-8, as Qt writes them.
namespace NameBytes {

QString fromBytes(QByteArrayView bytes);
QByteArray toBytes(const QString &name);
std::filesystem::path toPath(const QString &name);
// Whether the name is text, without bytes kept as they were.
bool isText(const QString &name);
// The name for a message: each byte kept as it was shown as \xNN.
QString shown(const QString &name);

} // namespace NameBytes
