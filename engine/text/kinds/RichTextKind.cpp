#include "engine/text/kinds/internal/KindInstance.h"
#include "engine/text/kinds/internal/MarkupRows.h"

#include <QRegularExpression>
#include <array>

namespace {

const QString rowEnd = QStringLiteral("\\par");

// Each UTF-16 unit as a signed 16-bit number followed by one fallback character (the \uc1 of
// the header).
QString byNumber(QStringView character, char32_t)
{
    QString out;
    for (QChar unit : character)
        out += QStringLiteral("\\u%1?").arg(qint16(unit.unicode()));
    return out;
}

// The escapes of byNumber() and of the characters RTF treats specially: \\, \{ and \}.
QString unescaped(const QString &line)
{
    static const QRegularExpression unicode(QStringLiteral("\\\\u(-?\\d+)\\?"));
    QString text;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != u'\\' || i + 1 == line.size()) {
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

// Rich Text that sets the font and its size itself, so it never takes the font reminder.
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
        // RTF counts font sizes in half points.
        return {QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Lucida Console;}}"),
                QStringLiteral("\\viewkind4\\uc1\\pard\\f0\\fs") + QString::number(context.detail * 2)};
    }
    QString row(const QString &rowText) const override
    {
        static constexpr std::array<QStringView, 3> replacements{u"\\\\", u"\\{", u"\\}"};
        return MarkupRows::escaped(rowText, u"\\{}", replacements, lineFormat().holds, byNumber) + rowEnd;
    }
    // The brace closes the group the first line opened; the generated-by line stands outside the document.
    QStringList trailer() const override { return QStringList{QStringLiteral("}")} + OutputKind::trailer(); }

    std::optional<ArtFile> read(QStringList lines) const override
    {
        static const QRegularExpression fontSize(QStringLiteral("^\\\\viewkind4\\\\uc1\\\\pard\\\\f0\\\\fs(\\d+)$"));
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
