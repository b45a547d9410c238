#include "engine/text/Windows1252.h"

#include <array>

namespace {

// Bytes 0x80 to 0x9F; the undefined ones keep their own value.
constexpr std::array<char16_t, 32> upperControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char encodeOne(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return char(codePoint);
    for (std::size_t i = 0; i < upperControlBlock.size(); ++i) {
        if (upperControlBlock[i] == codePoint)
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

namespace Windows1252 {

bool holds(char32_t codePoint) { return codePoint == U'?' || encodeOne(codePoint) != '?'; }

QByteArray encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        // A character outside the basic plane is one character, so one "?".
        *out++ = unit < 0x80 ? char(unit) : pair ? '?' : encodeOne(unit);
        i += pair ? 1 : 0;
    }
    bytes.truncate(out - bytes.data());
    return bytes;
}

QString decode(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text.append(value >= 0x80 && value < 0xA0 ? QChar(upperControlBlock[value - 0x80]) : QChar(value));
    }
    return text;
}

} // namespace Windows1252
