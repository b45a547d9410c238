#include "engine/text/kinds/internal/FontReminder.h"
#include "engine/text/kinds/internal/KindInstance.h"

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

    std::optional<ArtFile> read(QStringList lines) const override
    {
        ArtFile art;
        art.detail = FontReminder::strip(lines);
        art.rows = lines;
        return art;
    }
};

template const OutputKind &theKind<TextKind>();
