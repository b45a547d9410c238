#include "engine/text/kinds/internal/ColourSpans.h"
#include "engine/text/kinds/internal/KindInstance.h"

#include <QRegularExpression>

namespace {

const QString rowsStart = QStringLiteral("<pre>");
const QString generator = QStringLiteral("<meta name=\"generator\" content=\"Glyphsmith\">");

// A page is UTF-8, so every character but those HTML treats specially is written as itself.
QString escaped(QString text)
{
    return text.replace(u'&', QStringLiteral("&amp;")).replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;"));
}

QString escapedView(QStringView text) { return escaped(text.toString()); }

QString unescaped(const QString &line)
{
    QString text = line;
    return text.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

// The detail whose cell is `pixels` high: each detail has a cell height of its own.
std::optional<quint8> detailOfHeight(int pixels)
{
    for (int detail = 1; detail <= 255; ++detail) {
        if (cellSizeFor(quint8(detail)).height == pixels)
            return quint8(detail);
    }
    return std::nullopt;
}

const QString darkGround = QStringLiteral("body { background: #000000; }");

// Art in colour sets its ground: white, or black for light text on a dark ground.
QStringList groundOf(const KindContext &context)
{
    if (!context.colours)
        return {};
    return {context.darkGround ? darkGround : QStringLiteral("body { background: #ffffff; }")};
}

} // namespace

// A complete HTML page that shows the art as it is in any browser: the rows in one <pre>, in a
// fixed-pitch face at a size and line height of one cell, never wrapped. It sets its font
// itself, so it takes no reminder. Written only by choice, under the names of HTML files.
class PageKind final : public OutputKind
{
public:
    QString formatName() const override { return QStringLiteral("page"); }
    QString fileExtension() const override { return QStringLiteral("html"); }
    QStringList extensions() const override { return {}; }
    QStringList extensionsRead() const override { return {QStringLiteral("htm"), QStringLiteral("html")}; }
    QString description() const override { return QStringLiteral("complete HTML page"); }
    bool takesFontReminder() const override { return false; }
    LineFormat lineFormat(TextEncoding) const override { return utf8Lines(); }

    QStringList header(const KindContext &context) const override
    {
        const QString cellHeight = QString::number(context.cell.height) + QStringLiteral("px");
        return QStringList{QStringLiteral("<!DOCTYPE html>"),
                QStringLiteral("<html>"),
                QStringLiteral("<head>"),
                QStringLiteral("<meta charset=\"utf-8\">"),
                generator,
                QStringLiteral("<title>") + escaped(context.sourceName) + QStringLiteral("</title>"),
                QStringLiteral("<style>"),
                QStringLiteral("pre { font-family: \"Lucida Console\", \"Liberation Mono\", \"DejaVu Sans Mono\", monospace; "
                               "font-size: %1; line-height: %1; letter-spacing: 0; word-spacing: 0; "
                               "font-kerning: none; font-variant-ligatures: none; white-space: pre; margin: 0; }")
                    .arg(cellHeight),
            }
            + groundOf(context)
            + QStringList{QStringLiteral("</style>"),
                QStringLiteral("</head>"),
                QStringLiteral("<body>"),
                // A line break straight after <pre> is not part of its text.
                rowsStart};
    }
    QString row(const QString &rowText, const KindContext &) const override { return escaped(rowText); }
    bool takesColour() const override { return true; }
    QString colouredRow(const QString &rowText, std::span<const modColour::Colour> colours, const KindContext &context) const override
    {
        return ColourSpans::row(rowText, colours, *context.colours, escapedView);
    }
    QStringList trailer() const override { return {QStringLiteral("</pre>"), QStringLiteral("</body>"), QStringLiteral("</html>")}; }

    std::optional<ArtFile> read(QStringList lines) const override
    {
        const qsizetype start = lines.indexOf(rowsStart);
        if (start < 0 || lines.first() != u"<!DOCTYPE html>" || !lines.first(start).contains(generator))
            return std::nullopt;
        static const QRegularExpression fontSize(QStringLiteral("font-size: (\\d+)px;"));
        ArtFile art;
        art.detail = detailOfHeight(fontSize.match(lines.first(start).join(u'\n')).captured(1).toInt());
        art.darkGround = lines.first(start).contains(darkGround);
        std::vector<std::vector<modColour::Colour>> colours;
        for (const QString &line : lines.sliced(start + 1)) {
            std::optional<ColourSpans::Read> spans = ColourSpans::read(line, unescaped);
            art.rows << (spans ? spans->text : unescaped(line));
            colours.push_back(spans ? std::move(spans->colours) : std::vector<modColour::Colour>());
            art.colours.look = spans && spans->filled ? ColourLook::fills : art.colours.look;
        }
        setColours(art, colours);
        return art;
    }
};

template const OutputKind &theKind<PageKind>();
