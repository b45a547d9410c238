#pragma once

#include "engine/text/Utf8.h"
#include "engine/text/Windows1252.h"

#include <QByteArray>

// The code page the user chooses for text. A kind whose files have a code page of their own
// (RTF, the page) keeps it.
enum class TextEncoding { Windows1252, Utf8 };

// How the lines of a text file become bytes: the code page, what a kind may write as itself in
// it (a markup kind writes the rest by number), and what ends every line.
struct LineFormat
{
    QByteArray (*encode)(QStringView text) = Windows1252::encode;
    bool (*holds)(char32_t codePoint) = Windows1252::holds;
    QByteArray lineEnd = QByteArrayLiteral("\r\n");
};

inline LineFormat utf8Lines(bool (*holds)(char32_t) = Utf8::holds)
{
    return {Utf8::encode, holds};
}
