#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// UTF-8, the code page of pages, of terminals and of text the user chooses to have in it.
namespace Utf8 {

// Every character: UTF-8 holds them all.
bool holds(char32_t codePoint);
// Only ASCII, the bytes that read the same in UTF-8, Windows-1252 and any charset built on ASCII.
bool holdsAscii(char32_t codePoint);

QByteArray encode(QStringView text);
// Nothing when `bytes` are not UTF-8.
std::optional<QString> decode(QByteArrayView bytes);

} // namespace Utf8
