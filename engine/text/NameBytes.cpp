#include "engine/text/NameBytes.h"

namespace {

constexpr char16_t keptByte = 0xDC00; // plus the byte, 0x80 to 0xFF

bool isContinuation(QByteArrayView bytes, qsizetype at, uchar low = 0x80, uchar high = 0xBF)
{
    return at < bytes.size() && uchar(bytes[at]) >= low && uchar(bytes[at]) <= high;
}

// The length of the UTF-8 sequence at `at`; 0 when the byte there starts none. Overlong forms,
// halves of pairs and code points past U+10FFFF are not text.
int sequenceLength(QByteArrayView bytes, qsizetype at)
{
    const uchar lead = uchar(bytes[at]);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return isContinuation(bytes, at + 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const uchar low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
        return isContinuation(bytes, at + 1, low, high) && isContinuation(bytes, at + 2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const uchar low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
        return isContinuation(bytes, at + 1, low, high) && isContinuation(bytes, at + 2) && isContinuation(bytes, at + 3) ? 4 : 0;
    }
    return 0;
}

// Whether name[i] stands for a byte kept as it was: the second half of a pair with no first half.
bool isKeptByte(const QString &name, qsizetype i)
{
    const char16_t unit = name[i].unicode();
    return unit >= keptByte + 0x80 && unit <= keptByte + 0xFF && (i == 0 || !name[i - 1].isHighSurrogate());
}

} // namespace

namespace NameBytes {

QString fromBytes(QByteArrayView bytes)
{
    QString name;
    qsizetype textFrom = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        if (const int length = sequenceLength(bytes, at)) {
            at += length;
            continue;
        }
        name += QString::fromUtf8(bytes.sliced(textFrom, at - textFrom));
        name += QChar(char16_t(keptByte + uchar(bytes[at])));
        textFrom = ++at;
    }
    return name + QString::fromUtf8(bytes.sliced(textFrom));
}

QByteArray toBytes(const QString &name)
{
    QByteArray bytes;
    qsizetype textFrom = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!isKeptByte(name, i))
            continue;
        bytes += QStringView(name).sliced(textFrom, i - textFrom).toUtf8();
        bytes += char(name[i].unicode() - keptByte);
        textFrom = i + 1;
    }
    return bytes + QStringView(name).sliced(textFrom).toUtf8();
}

std::filesystem::path toPath(const QString &name) { return std::filesystem::path(toBytes(name).toStdString()); }

bool isText(const QString &name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isKeptByte(name, i))
            return false;
    }
    return true;
}

QString shown(const QString &name)
{
    QString text;
    for (qsizetype i = 0; i < name.size(); ++i)
        text += isKeptByte(name, i) ? QStringLiteral("\\x%1").arg(name[i].unicode() - keptByte, 2, 16, QChar(u'0')) : QString(name[i]);
    return text;
}

} // namespace NameBytes
