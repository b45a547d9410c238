#pragma once

#include <QRegularExpressionMatch>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

class QRegularExpression;

// The rows of a kind that marks its text up (RTF, HTML): escaped on the way out, read back.
namespace MarkupRows {

// The characters of `rowText` that the markup treats specially become their replacements
// (`specials[i]` becomes `replacements[i]`), and those `holds` says the file's code page cannot
// hold become what `byNumber` makes of them; everything else is kept.
QString escaped(const QString &rowText, QStringView specials, std::span<const QStringView> replacements,
                bool (*holds)(char32_t), QString (*byNumber)(QStringView character, char32_t codePoint));

// The rows of `lines`, each line ending in `end`, taken off and the rest unescaped; nothing when
// a line does not end so.
std::optional<QStringList> rowsEndingIn(const QStringList &lines, QStringView end, QString (*unescape)(const QString &));

// `pattern` matched at exactly `offset` of `text`.
QRegularExpressionMatch matchAt(const QRegularExpression &pattern, const QString &text, qsizetype offset);

} // namespace MarkupRows
