#pragma once

#include "engine/text/Windows1252.h"

#include <QByteArray>

// How the lines of a text file become bytes: the code page, and what ends every line.
struct LineFormat
{
    QByteArray (*encode)(QStringView text) = Windows1252::encode;
    QString (*decode)(QByteArrayView bytes) = Windows1252::decode;
    bool (*holds)(char32_t codePoint) = Windows1252::holds;
    QByteArray lineEnd = QByteArrayLiteral("\r\n");
};
