#include "engine/cells/ColourTable.h"
#include "engine/text/kinds/internal/ColourRuns.h"
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

// The table after the font's, entry 0 being the reader's own colour: \cfN and \highlightN count from 1.
QString colourTableOf(const KindContext &context)
{
    if (!context.colours || !context.colours->table)
        return {};
    QString table = QStringLiteral("{\\colortbl;");
    for (const modColour::Colour colour : context.colours->table->colours)
        table += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(modColour::GetRed(colour)).arg(int(modColour::GetGreen(colour))).arg(int(modColour::GetBlue(colour)));
    return table + u'}';
}

// A line's colour switches and its text: "\cf3 " and "\highlight5 " set the colours of what
// follows; the rest is what unescaped() reads. The colours are those of the table, the cell's
// (the highlight's on a fill) for each character.
struct ColouredLine
{
    QString text;
    std::vector<modColour::Colour> colours;
    bool filled = false;
};
ColouredLine readColours(const QString &line, const std::vector<modColour::Colour> &table)
{
    static const QRegularExpression colourSwitch(QStringLiteral("\\\\(cf|highlight)(\\d+) ?"));
    static const QRegularExpression unicode(QStringLiteral("\\\\u-?\\d+\\?"));
    ColouredLine read;
    modColour::Colour characters = 0, ground = 0;
    QString piece;
    const auto flush = [&] {
        const QString text = unescaped(piece);
        read.text += text;
        read.colours.insert(read.colours.end(), std::size_t(text.toUcs4().size()), read.filled ? ground : characters);
        piece.clear();
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QRegularExpressionMatch m = line[i] == u'\\' ? MarkupRows::matchAt(colourSwitch, line, i) : QRegularExpressionMatch();
        if (!m.hasMatch()) {
            // An escape is kept whole for unescaped(), so that "\\cf" is not taken for a switch.
            const QRegularExpressionMatch u = line[i] == u'\\' ? MarkupRows::matchAt(unicode, line, i) : QRegularExpressionMatch();
            const qsizetype length = u.hasMatch() ? u.capturedLength() : line[i] == u'\\' && i + 1 < line.size() ? 2 : 1;
            piece += QStringView(line).sliced(i, length);
            i += length - 1;
            continue;
        }
        flush();
        const std::size_t entry = m.captured(2).toUInt();
        const modColour::Colour colour = entry >= 1 && entry <= table.size() ? table[entry - 1] : 0;
        if (m.captured(1) == u"cf") {
            characters = colour;
        } else {
            ground = colour;
            read.filled = true;
        }
        i += m.capturedLength() - 1;
    }
    flush();
    return read;
}

std::vector<modColour::Colour> tableOf(const QString &header)
{
    static const QRegularExpression entry(QStringLiteral("\\\\red(\\d+)\\\\green(\\d+)\\\\blue(\\d+);"));
    const qsizetype start = header.indexOf(QStringLiteral("{\\colortbl;"));
    std::vector<modColour::Colour> table;
    if (start < 0)
        return table;
    for (QRegularExpressionMatchIterator it = entry.globalMatch(header, start); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        table.push_back(modColour::RGB(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()));
    }
    return table;
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
        return {QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Lucida Console;}}") + colourTableOf(context),
                QStringLiteral("\\paperw%1\\margl%2\\margr%2").arg(paperTwips(context.columns, context.detail)).arg(marginTwips)
                    + QStringLiteral("\\viewkind4\\uc1\\pard\\sl-%1\\slmult0").arg(context.detail * 20)
                    + QStringLiteral("\\f0\\fs") + QString::number(context.detail * 2)};
    }
    QString row(const QString &rowText, const KindContext &context) const override
    {
        static constexpr std::array<QStringView, 3> replacements{u"\\\\", u"\\{", u"\\}"};
        return spacesApart(MarkupRows::escaped(rowText, u"\\{}", replacements, lineFormat(context.encoding).holds, byNumber)) + rowEnd;
    }
    bool takesColour() const override { return true; }
    bool tablesColours() const override { return true; }
    // A switch where the colour changes: the character's colour, and on a fill the highlight
    // that is the cell's; the space after each is its delimiter, not text.
    QString colouredRow(const QString &rowText, std::span<const modColour::Colour> colours, const KindContext &context) const override
    {
        static constexpr std::array<QStringView, 3> replacements{u"\\\\", u"\\{", u"\\}"};
        const ArtColours &art = *context.colours;
        QString line;
        for (const ColourRun &run : colourRunsOf(rowText, colours)) {
            line += QStringLiteral("\\cf%1 ").arg(art.table->indexOf(characterColourOf(run.colour, art.look, art.depth)) + 1);
            if (art.look == ColourLook::fills)
                line += QStringLiteral("\\highlight%1 ").arg(art.table->indexOf(run.colour) + 1);
            line += spacesApart(MarkupRows::escaped(run.text.toString(), u"\\{}", replacements, lineFormat(context.encoding).holds, byNumber));
        }
        return line + rowEnd;
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
        const std::vector<modColour::Colour> table = tableOf(lines.first());
        lines.remove(0, 2);
        if (table.empty()) {
            const std::optional<QStringList> rows = MarkupRows::rowsEndingIn(lines, rowEnd, unescaped);
            if (!rows)
                return std::nullopt;
            art.rows = *rows;
            return art;
        }
        std::vector<std::vector<modColour::Colour>> colours;
        for (const QString &line : std::as_const(lines)) {
            if (!line.endsWith(rowEnd))
                return std::nullopt;
            ColouredLine read = readColours(line.chopped(rowEnd.size()), table);
            art.rows << read.text;
            colours.push_back(std::move(read.colours));
            art.colours.look = read.filled ? ColourLook::fills : art.colours.look;
        }
        setColours(art, colours);
        return art;
    }
};

template const OutputKind &theKind<RichTextKind>();
