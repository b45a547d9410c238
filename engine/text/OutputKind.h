#pragma once

#include "engine/cells/ArtColours.h"
#include "engine/cells/CellMetrics.h"
#include "engine/text/ArtFile.h"
#include "engine/text/LineFormat.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <span>

// What a kind may need to know of a run to write its file.
struct KindContext
{
    quint8 detail = 10;       // points of the font the art is shown in
    CellSize cell;            // the detail's cell, in pixels
    int columns = 0;          // characters in every row
    bool fontReminder = true; // the user wants the font reminder, where the kind has one
    TextEncoding encoding = TextEncoding::Windows1252; // the user's code page for text
    QString sourceName;       // the source picture's file name, without its folder
    // The art's colours when it is in colour, for the kinds that write colour; else null.
    const ArtColours *colours = nullptr;
    bool darkGround = false;  // light text on a dark ground (--invert): a page's ground is black
};

// One kind of file a run writes: its names, its lines, and how a file of it is read back. Each
// kind is a class in a file of its own in engine/text/kinds/, listed in the kind table.
class OutputKind
{
public:
    virtual ~OutputKind() = default;

    // The converter's --format name: "txt".
    virtual QString formatName() const = 0;
    // The extension the converter gives a file of this kind it names itself (in an output folder).
    virtual QString fileExtension() const = 0;
    // The extensions, in lower case, by which an output's name chooses this kind.
    virtual QStringList extensions() const = 0;
    // The extensions of the files read back as this kind: those that choose it, and those of
    // another kind's files that may hold this kind by the user's choice.
    virtual QStringList extensionsRead() const { return extensions(); }
    // The kind in a sentence: "plain text".
    virtual QString description() const = 0;
    // Whether the font reminder may head a file of this kind; RTF sets the font itself.
    virtual bool takesFontReminder() const { return true; }
    // The code page and line end of the kind's files when the user chose `encoding` for text.
    virtual LineFormat lineFormat(TextEncoding) const { return {}; }

    // The lines before the first row.
    virtual QStringList header(const KindContext &context) const = 0;
    // One row of characters, as assembled, as its line.
    virtual QString row(const QString &rowText, const KindContext &context) const = 0;
    // Whether the kind writes the art's colours; a kind that does not never measures them.
    virtual bool takesColour() const { return false; }
    // Whether it lists them in a table before the rows (ArtColours::table).
    virtual bool tablesColours() const { return false; }
    // A row of art in colour, `colours` holding one colour a character of `rowText`.
    virtual QString colouredRow(const QString &rowText, std::span<const modColour::Colour>, const KindContext &context) const
    {
        return row(rowText, context);
    }
    // The lines after the last row, ending with the generated-by line.
    virtual QStringList trailer() const;
    // The art of a file of this kind from its lines, the trailer taken off: the rows and the
    // detail it records; nothing when the lines are not such art.
    virtual std::optional<ArtFile> read(QStringList lines) const = 0;
};

// The one object of a kind's class: instantiated by the kind's own file, so that the kind table
// need not see the class.
template <class Kind>
const OutputKind &theKind();
