#pragma once

#include <QString>
#include <QStringList>

// The converter's words for the kinds it writes, made from the kind table.
namespace KindWords {

// "a", "a or b", "a, b or c", with `conjunction` before the last.
QString listed(const QStringList &items, const QString &conjunction);

// The --format names: "txt, rtf or html".
QString formatNames();

// How OUTPUT's name chooses its kind: "as rich text when its extension is .rtf, ..., and as plain
// text otherwise".
QString choiceByExtension();

// The extensions of the files the converter hands to the desktop: ".txt, .rtf, .htm and .html".
QString openedExtensions();

} // namespace KindWords
