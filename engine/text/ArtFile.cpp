#include "engine/text/ArtFile.h"

#include "engine/text/OutputFormat.h"
#include "engine/text/Windows1252.h"

#include <QFile>
#include <QRegularExpression>
#include <array>

namespace {

// Art files are small; anything larger is not one of ours.
constexpr qint64 largestArtFile = 256 * 1024 * 1024;

const QString reminderStart = QStringLiteral("Friendly Reminder: This is a ASCII Artwork!");
constexpr int reminderLines = 7;

std::optional<quint8> detailOf(const QString &digits)
{
    bool ok = false;
    const int detail = digits.toInt(&ok);
    return ok && detail >= 1 && detail <= 255 ? std::optional(quint8(detail)) : std::nullopt;
}

QRegularExpressionMatch atOffset(const QRegularExpression &pattern, const QString &text, qsizetype offset)
{
    return pattern.match(text, offset, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
}

// The characters RTF escapes: \\, \{, \}, and \uN? for a UTF-16 unit outside the code page.
QString fromRtf(const QString &line)
{
    static const QRegularExpression unicode(QStringLiteral("\\\\u(-?\\d+)\\?"));
    QString text;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != u'\\' || i + 1 == line.size()) {
            text += line[i];
        } else if (const QRegularExpressionMatch m = atOffset(unicode, line, i); m.hasMatch()) {
            text += QChar(char16_t(m.captured(1).toInt()));
            i += m.capturedLength() - 1;
        } else {
            text += line[++i];
        }
    }
    return text;
}

// The entities HTML escapes: &amp; &lt; &gt; and &#N; for a character outside the code page.
QString fromHtml(const QString &line)
{
    static const QRegularExpression entity(QStringLiteral("&(amp|lt|gt|#\\d+);"));
    QString text;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QRegularExpressionMatch m = line[i] == u'&' ? atOffset(entity, line, i) : QRegularExpressionMatch();
        if (!m.hasMatch()) {
            text += line[i];
            continue;
        }
        const QString name = m.captured(1);
        if (name == u"amp")
            text += u'&';
        else if (name == u"lt")
            text += u'<';
        else if (name == u"gt")
            text += u'>';
        else
            text += QString::fromUcs4(std::array{char32_t(name.mid(1).toUInt())}.data(), 1);
        i += m.capturedLength() - 1;
    }
    return text;
}

// Takes the rows from `lines` (header and trailer removed), each ending in `end`.
std::optional<QStringList> rowsEndingIn(const QStringList &lines, const QString &end, QString (*unescape)(const QString &))
{
    QStringList rows;
    for (const QString &line : lines) {
        if (!line.endsWith(end))
            return std::nullopt;
        rows << unescape(line.chopped(end.size()));
    }
    return rows;
}

} // namespace

std::optional<ArtFile> readArtFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestArtFile)
        return std::nullopt;
    QStringList lines = Windows1252::decode(file.readAll()).split(QStringLiteral("\r\n"));
    const OutputKind kind = outputKindOf(path);
    const QStringList trailer = trailerLines(kind);
    // Every line ends in CR LF, so the split leaves an empty piece after the last one.
    if (lines.size() < trailer.size() + 1 || !lines.last().isEmpty())
        return std::nullopt;
    lines.removeLast();
    if (lines.mid(lines.size() - trailer.size()) != trailer)
        return std::nullopt;
    lines.resize(lines.size() - trailer.size());

    ArtFile art;
    if (kind == OutputKind::RichText) {
        static const QRegularExpression fontSize(QStringLiteral("^\\\\viewkind4\\\\uc1\\\\pard\\\\f0\\\\fs(\\d+)$"));
        const QRegularExpressionMatch m = lines.size() >= 2 ? fontSize.match(lines[1]) : QRegularExpressionMatch();
        if (!lines.first().startsWith(QStringLiteral("{\\rtf1")) || !m.hasMatch())
            return std::nullopt;
        art.detail = detailOf(QString::number(m.captured(1).toInt() / 2));
        lines.remove(0, 2);
    } else if (!lines.isEmpty() && lines.first().startsWith(reminderStart)) {
        static const QRegularExpression size(QStringLiteral("size to (\\d+)\\.$"));
        art.detail = detailOf(size.match(lines.first()).captured(1));
        lines.remove(0, std::min<qsizetype>(reminderLines, lines.size()));
    }
    std::optional<QStringList> rows;
    switch (kind) {
    case OutputKind::RichText: rows = rowsEndingIn(lines, QStringLiteral("\\par"), fromRtf); break;
    case OutputKind::Html: rows = rowsEndingIn(lines, QStringLiteral("<BR>"), fromHtml); break;
    case OutputKind::Text: rows = lines; break;
    }
    if (!rows || rows->isEmpty())
        return std::nullopt;
    art.rows = *rows;
    return art;
}
