#include "engine/text/Utf8.h"

#include <QStringDecoder>

namespace Utf8 {

bool holds(char32_t) { return true; }

bool holdsAscii(char32_t codePoint) { return codePoint < 0x80; }

QByteArray encode(QStringView text) { return text.toUtf8(); }

std::optional<QString> decode(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    return decoder.hasError() ? std::nullopt : std::optional(std::move(text));
}

} // namespace Utf8
