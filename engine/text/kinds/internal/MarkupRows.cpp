#include "engine/text/kinds/internal/MarkupRows.h"

#include <QRegularExpression>
#include <algorithm>

namespace MarkupRows {

QString escaped(const QString &rowText, QStringView specials, std::span<const QStringView> replacements,
                bool (*holds)(char32_t), QString (*byNumber)(QStringView character, char32_t codePoint))
{
    if (std::all_of(rowText.cbegin(), rowText.cend(), [&](QChar c) { return c.unicode() < 0x80 && !specials.contains(c); }))
        return rowText;
    QString out;
    out.reserve(rowText.size() * 2);
    for (qsizetype i = 0; i < rowText.size(); ++i) {
        const bool pair = rowText[i].isHighSurrogate() && i + 1 < rowText.size() && rowText[i + 1].isLowSurrogate();
        const QStringView character = QStringView(rowText).sliced(i, pair ? 2 : 1);
        const char32_t codePoint = pair ? QChar::surrogateToUcs4(rowText[i], rowText[i + 1]) : rowText[i].unicode();
        const qsizetype index = specials.indexOf(rowText[i]);
        if (index >= 0)
            out.append(replacements[index]);
        else if (!holds(codePoint))
            out.append(byNumber(character, codePoint));
        else
            out.append(character);
        i += pair ? 1 : 0;
    }
    return out;
}

std::optional<QStringList> rowsEndingIn(const QStringList &lines, QStringView end, QString (*unescape)(const QString &))
{
    QStringList rows;
    for (const QString &line : lines) {
        if (!line.endsWith(end))
            return std::nullopt;
        rows << unescape(line.chopped(end.size()));
    }
    return rows;
}

QRegularExpressionMatch matchAt(const QRegularExpression &pattern, const QString &text, qsizetype offset)
{
    return pattern.match(text, offset, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
}

} // namespace MarkupRows
