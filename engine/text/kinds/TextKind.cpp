#include "engine/text/kinds/internal/FontReminder.h"
#include "engine/text/kinds/internal/ColourRuns.h"
#include "engine/text/kinds/internal/KindInstance.h"
#include "engine/text/kinds/internal/TerminalColours.h"

// Plain text: the rows as they are, in Windows-1252 (where a character the code page cannot hold
// becomes "?") or in UTF-8, as the user chooses. Any name no other kind claims is written as plain
// text.
class TextKind final : public OutputKind
{
public:
    QString formatName() const override { return QStringLiteral("txt"); }
    QString fileExtension() const override { return QStringLiteral("txt"); }
    QStringList extensions() const override { return {QStringLiteral("txt")}; }
    QString description() const override { return QStringLiteral("plain text"); }

    LineFormat lineFormat(TextEncoding encoding) const override
    {
        return encoding == TextEncoding::Utf8 ? utf8Lines() : LineFormat();
    }

    QStringList header(const KindContext &context) const override
    {
        return context.fontReminder ? FontReminder::lines(context.detail) : QStringList();
    }
    QString row(const QString &rowText, const KindContext &) const override { return rowText; }
    // Text in colour is for terminals: a sequence where the colour changes, a reset at the end
    // of each row, so that nothing of it runs on into what the terminal shows next.
    bool takesColour() const override { return true; }
    QString colouredRow(const QString &rowText, std::span<const modColour::Colour> colours, const KindContext &context) const override
    {
        QString line;
        for (const ColourRun &run : colourRunsOf(rowText, colours)) {
            line += TerminalColours::selectFor(run.colour, context.colours->depth, context.colours->look);
            line += run.text;
        }
        return line + TerminalColours::reset;
    }

    std::optional<ArtFile> read(QStringList lines) const override
    {
        ArtFile art;
        art.detail = FontReminder::strip(lines);
        std::vector<std::vector<modColour::Colour>> colours;
        for (const QString &line : std::as_const(lines)) {
            if (!line.contains(u'\x1b')) {
                art.rows << line;
                colours.emplace_back();
                continue;
            }
            QString row;
            colours.push_back(TerminalColours::readRow(line, row, art.colours.look));
            art.rows << row;
        }
        setColours(art, colours);
        return art;
    }
};

template const OutputKind &theKind<TextKind>();
