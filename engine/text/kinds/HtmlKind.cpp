#include "engine/text/kinds/internal/ColourSpans.h"
#include "engine/text/kinds/internal/FontReminder.h"
#include "engine/text/kinds/internal/KindInstance.h"
#include "engine/text/kinds/internal/MarkupRows.h"

#include <QRegularExpression>
#include <array>

namespace {

const QString rowEnd = QStringLiteral("<BR>");

QString byNumber(QStringView, char32_t codePoint) { return QStringLiteral("&#%1;").arg(uint(codePoint)); }

// The entities of byNumber() and of the characters HTML treats specially: &amp; &lt; &gt;.
QString unescaped(const QString &line)
{
    static const QRegularExpression entity(QStringLiteral("&(amp|lt|gt|#\\d+);"));
    QString text;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QRegularExpressionMatch m = line[i] == u'&' ? MarkupRows::matchAt(entity, line, i) : QRegularExpressionMatch();
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

// In colour, what is not ASCII is written by number, which any code page holds.
QString escapedAscii(QStringView text)
{
    static constexpr std::array<QStringView, 3> replacements{u"&amp;", u"&lt;", u"&gt;"};
    return MarkupRows::escaped(text.toString(), u"&<>", replacements, Utf8::holdsAscii, byNumber);
}

} // namespace

// HTML rows, each ended by a line-break tag, with no document around them: a fragment to paste
// into a page, or to open as it is. A fragment declares no charset, so whatever shows it guesses
// one: asked for UTF-8, it is written in ASCII, every other character by number, which reads the
// same under any guess and in the charset of any page it is pasted into.
class HtmlKind final : public OutputKind
{
public:
    QString formatName() const override { return QStringLiteral("html"); }
    QString fileExtension() const override { return QStringLiteral("html"); }
    QStringList extensions() const override { return {QStringLiteral("htm"), QStringLiteral("html")}; }
    QString description() const override { return QStringLiteral("HTML"); }

    LineFormat lineFormat(TextEncoding encoding) const override
    {
        return encoding == TextEncoding::Utf8 ? utf8Lines(Utf8::holdsAscii) : LineFormat();
    }

    QStringList header(const KindContext &context) const override
    {
        return context.fontReminder ? FontReminder::lines(context.detail) : QStringList();
    }
    QString row(const QString &rowText, const KindContext &context) const override
    {
        static constexpr std::array<QStringView, 3> replacements{u"&amp;", u"&lt;", u"&gt;"};
        return MarkupRows::escaped(rowText, u"&<>", replacements, lineFormat(context.encoding).holds, byNumber) + rowEnd;
    }
    // Spans that colour their characters only, on whatever ground the page pasted into has.
    bool takesColour() const override { return true; }
    QString colouredRow(const QString &rowText, std::span<const modColour::Colour> colours, const KindContext &context) const override
    {
        return ColourSpans::row(rowText, colours, *context.colours, escapedAscii) + rowEnd;
    }

    std::optional<ArtFile> read(QStringList lines) const override
    {
        ArtFile art;
        art.detail = FontReminder::strip(lines);
        std::vector<std::vector<modColour::Colour>> colours;
        for (const QString &line : std::as_const(lines)) {
            if (!line.endsWith(rowEnd))
                return std::nullopt;
            std::optional<ColourSpans::Read> spans = ColourSpans::read(line.chopped(rowEnd.size()), unescaped);
            art.rows << (spans ? spans->text : unescaped(line.chopped(rowEnd.size())));
            colours.push_back(spans ? std::move(spans->colours) : std::vector<modColour::Colour>());
            art.colours.look = spans && spans->filled ? ColourLook::fills : art.colours.look;
        }
        setColours(art, colours);
        return art;
    }
};

template const OutputKind &theKind<HtmlKind>();
