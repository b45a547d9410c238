#include "engine/text/kinds/internal/FontReminder.h"

#include "engine/text/ArtFile.h"

#include <QRegularExpression>

namespace {

const QString reminderStart = QStringLiteral("Friendly Reminder: This is a ASCII Artwork!");
constexpr int reminderLines = 7;

} // namespace

namespace FontReminder {

QStringList lines(quint8 detail)
{
    return {reminderStart + QStringLiteral(" To properly view this picture, set the font to 'Lucida Console' and size to ")
                + QString::number(detail) + u'.',
            QStringLiteral("Or you can choose another font where the following lines appear the same length:"),
            QStringLiteral("|abcdefABCDEFG|"),
            QStringLiteral("|!%@%^#$%&^()'|"),
            QString(), QString(), QString()};
}

std::optional<quint8> strip(QStringList &lines)
{
    if (lines.isEmpty() || !lines.first().startsWith(reminderStart))
        return std::nullopt;
    static const QRegularExpression size(QStringLiteral("size to (\\d+)\\.$"));
    const std::optional<quint8> detail = recordedDetail(size.match(lines.first()).captured(1).toInt());
    lines.remove(0, std::min<qsizetype>(reminderLines, lines.size()));
    return detail;
}

} // namespace FontReminder
