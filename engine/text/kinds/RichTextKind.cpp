#include "engine/text/kinds/internal/KindInstance.h"
#include "engine/text/kinds/internal/MarkupRows.h"

#include <QRegularExpression>
#include <array>

namespace {

const QString rowEnd = QStringLiteral("\\par");
const QString noGroup = QStringLiteral("{}");
// A quarter inch: the rows fill the paper.
constexpr int marginTwips = 360;

// Each UTF-16 unit as a signed 16-bit number followed by one fallback character (the \uc1 of
// the header).
QString byNumber(QStringView character, char32_t)
{
    QString out;
    for (QChar unit : character)
        out += QStringLiteral("\\u%1?").arg(qint16(unit.unicode()));
    return out;
}

// Word processors may take a run of spaces in one piece of text for something else: LibreOffice
// makes each space of it a six-per-em space and a space, drawn a quarter wider than a cell. An
// empty group between every two spaces keeps each a plain space.
QString spacesApart(const QString &row)
{
    if (!row.contains(QStringLiteral("  ")))
        return row;
    QString out;
    out.reserve(row.size() * 2);
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (i > 0 && row[i] == u' ' && row[i - 1] == u' ')
            out += noGroup;
        out += row[i];
    }
    return out;
}

// Wide enough for a row of `columns` characters of the output font, whose advance is 1229/2048
// em, at `detail` points (20 twips a point), with 4 % to spare for a face or a rounding that
// makes a row a little wider.
qint64 paperTwips(int columns, quint8 detail)
{
    const qint64 spared = qint64(columns) * detail * 20 * 1229 * 104;
    constexpr qint64 perTwip = 2048 * 100;
    return (spared + perTwip - 1) / perTwip + 2 * marginTwips;
}

// The escapes of byNumber() and of the characters RTF treats specially (\\, \{ and \}), and
// the empty groups of spacesApart().
QString unescaped(const QString &line)
{
    static const QRegularExpression unicode(QStringLiteral("\\\\u(-?\\d+)\\?"));
    QString text;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (QStringView(line).sliced(i).startsWith(noGroup)) {
            ++i;
        } else if (line[i] != u'\\' || i + 1 == line.size()) {
            text += line[i];
        } else if (const QRegularExpressionMatch m = MarkupRows::matchAt(unicode, line, i); m.hasMatch()) {
            text += QChar(char16_t(m.captured(1).toInt()));
            i += m.capturedLength() - 1;
        } else {
            text += line[++i];
        }
    }
    return text;
}

} // namespace

// Rich Text that sets the font and its size itself, so it never takes the font reminder, and a
// paper wide enough for its rows and a line spacing of one cell, so that every row keeps its
// line and its cell's height in whatever fixed-pitch face shows it.
class RichTextKind final : public OutputKind
{
public:
    QString formatName() const override { return QStringLiteral("rtf"); }
    QString fileExtension() const override { return QStringLiteral("rtf"); }
    QStringList extensions() const override { return {QStringLiteral("rtf")}; }
    QString description() const override { return QStringLiteral("rich text"); }
    bool takesFontReminder() const override { return false; }

    QStringList header(const KindContext &context) const override
    {
        // A negative \sl is an exact line spacing, in twips; RTF counts font sizes in half points.
        return {QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Lucida Console;}}"),
                QStringLiteral("\\paperw%1\\margl%2\\margr%2").arg(paperTwips(context.columns, context.detail)).arg(marginTwips)
                    + QStringLiteral("\\viewkind4\\uc1\\pard\\sl-%1\\slmult0").arg(context.detail * 20)
                    + QStringLiteral("\\f0\\fs") + QString::number(context.detail * 2)};
    }
    QString row(const QString &rowText, const KindContext &context) const override
    {
        static constexpr std::array<QStringView, 3> replacements{u"\\\\", u"\\{", u"\\}"};
        return spacesApart(MarkupRows::escaped(rowText, u"\\{}", replacements, lineFormat(context.encoding).holds, byNumber)) + rowEnd;
    }
    // The brace closes the group the first line opened; the generated-by line stands outside the document.
    QStringList trailer() const override { return QStringList{QStringLiteral("}")} + OutputKind::trailer(); }

    std::optional<ArtFile> read(QStringList lines) const override
    {
        // Files written before the paper and the line spacing were set have neither.
        static const QRegularExpression fontSize(QStringLiteral("^(?:\\\\paperw\\d+\\\\margl\\d+\\\\margr\\d+)?\\\\viewkind4\\\\uc1"
                                                                "\\\\pard(?:\\\\sl-\\d+\\\\slmult0)?\\\\f0\\\\fs(\\d+)$"));
        const QRegularExpressionMatch m = lines.size() >= 2 ? fontSize.match(lines[1]) : QRegularExpressionMatch();
        if (!m.hasMatch() || !lines.first().startsWith(QStringLiteral("{\\rtf1")))
            return std::nullopt;
        ArtFile art;
        art.detail = recordedDetail(m.captured(1).toInt() / 2);
        lines.remove(0, 2);
        const std::optional<QStringList> rows = MarkupRows::rowsEndingIn(lines, rowEnd, unescaped);
        if (!rows)
            return std::nullopt;
        art.rows = *rows;
        return art;
    }
};

template const OutputKind &theKind<RichTextKind>();
