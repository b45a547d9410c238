#include "cli/CommandLine.h"

#include "cli/KindWords.h"
#include "engine/cells/CellMetrics.h"
#include "engine/text/NameBytes.h"
#include "engine/text/OutputKind.h"
#include "engine/text/OutputKinds.h"

#include <QCommandLineParser>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QThread>
#include <QtNumeric>
#include <array>
#include <cmath>

namespace {

constexpr qsizetype helpWidth = 94;

// Greedily, at most `width` characters a line: the words are made from the kind table, so no
// line break can be written in by hand.
QString wrapped(const QString &paragraph, qsizetype width)
{
    QStringList lines{QString()};
    for (const QString &word : paragraph.split(u' ')) {
        if (!lines.last().isEmpty() && lines.last().size() + 1 + word.size() > width)
            lines << QString();
        lines.last() += (lines.last().isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return lines.join(u'\n');
}

QString description()
{
    const OutputKind &plain = *outputKinds().first();
    QStringList others;
    for (const OutputKind *kind : outputKinds().sliced(1))
        others << u'.' + kind->fileExtension();
    others.removeDuplicates(); // a page is an .html file too
    const QStringList paragraphs{
        QStringLiteral("Turns a picture into character art."),
        QStringLiteral("SOURCE is a bitmap, JPEG, GIF, icon, cursor or PNG file. OUTPUT is written %1, in the Windows-1252 "
                       "code page (text in UTF-8 with --encoding utf-8) with CR LF line ends; --format page writes a complete "
                       "HTML page in UTF-8 that sets its own font. Each character stands for one cell of the picture the size "
                       "of a 'Lucida Console' glyph at the detail size, so the art is true to the picture when shown in that "
                       "font at that size.").arg(KindWords::choiceByExtension()),
        QStringLiteral("OUTPUT may also be - for standard output, /dev/stdout, /dev/stderr, /dev/fd/N or a device such as "
                       "/dev/null: the rows are then written to it as they are made, and it is never replaced. Nothing but "
                       "the art goes to standard output, so 'glyphsmith-cli photo.jpg - | less' works: piped or redirected, "
                       "it gets the very bytes a file would. Text for - on a terminal is written as a terminal shows text: "
                       "the rows alone, in the locale's code page (UTF-8) unless --encoding, with LF line ends, cut into "
                       "cells of the terminal's shape (its cell in pixels when it reports one, else 1:2) unless --cell, and "
                       "as wide as the terminal unless --size or --columns."),
        QStringLiteral("With --output-dir DIR, every SOURCE given is written to DIR/NAME.%1 (or %2 with --format), NAME "
                       "being the source's name without its extension; a refusal names its source on stderr and the others "
                       "go on. Two sources that would write the same file are refused before anything is read or written.")
            .arg(plain.fileExtension(), others.join(QStringLiteral(", "))),
        QStringLiteral("SOURCE, OUTPUT and DIR are the bytes given, UTF-8 or not: a file whose name is not UTF-8 is "
                       "read or written under exactly those bytes, and shown in messages with such bytes as \\xNN."),
        QStringLiteral("Exit codes: %1 written; %2 refused or failed (one line on stderr: the reason, then its cause, as in "
                       "'The Source Picture Could Not Be Loaded: photo.jpg: No such file'; OUTPUT untouched; in a batch, any "
                       "source refused); %3 wrong arguments. Interrupted by Ctrl-C, SIGTERM or SIGHUP, it removes its "
                       "unfinished output and then ends by that same signal, so that a shell loop around it stops too.")
            .arg(CliExit::success).arg(CliExit::refused).arg(CliExit::usage),
    };
    QStringList text;
    for (const QString &paragraph : paragraphs)
        text << wrapped(paragraph, helpWidth);
    return text.join(QStringLiteral("\n\n"));
}

CliParse usageError(const QString &message)
{
    return {std::nullopt, QStringLiteral("glyphsmith-cli: %1\nTry 'glyphsmith-cli --help'.").arg(message), CliExit::usage};
}

// "8x16": a cell of whole pixels, each side 1 to 32767.
std::optional<CellSize> cellOf(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch m = pattern.match(text);
    const CellSize cell{m.captured(1).toInt(), m.captured(2).toInt()};
    if (!m.hasMatch() || cell.width < 1 || cell.height < 1 || cell.width > 32767 || cell.height > 32767)
        return std::nullopt;
    return cell;
}

// "512M", "2G" or a number of bytes; K, M, G and T are powers of 1024. Nothing for anything else,
// 0 and sizes past what 64 bits hold.
std::optional<qint64> byteSizeOf(const QString &text)
{
    static const QString suffixes = QStringLiteral("KMGT");
    const qsizetype power = text.isEmpty() ? -1 : suffixes.indexOf(text.back().toUpper());
    bool ok = false;
    const qint64 count = text.first(text.size() - (power >= 0 ? 1 : 0)).toLongLong(&ok);
    qint64 bytes = 0;
    if (!ok || count < 1 || !text.front().isDigit() || qMulOverflow(count, qint64(1) << (10 * (power + 1)), &bytes))
        return std::nullopt;
    return bytes;
}

// Which of `words` the option's value is; nothing for another word.
std::optional<int> choiceOf(const QCommandLineParser &parser, const QCommandLineOption &option, const QStringList &words)
{
    const qsizetype index = words.indexOf(parser.value(option));
    return index < 0 ? std::nullopt : std::optional(int(index));
}

std::optional<CliParse> readToneOptions(const QCommandLineParser &parser, const QCommandLineOption &tone,
                                        const QCommandLineOption &levels, const QCommandLineOption &dither, RunParameters &p)
{
    const std::optional<int> mapping = choiceOf(parser, tone, {QStringLiteral("bands"), QStringLiteral("ink")});
    if (!mapping)
        return usageError(QStringLiteral("--tone needs bands or ink, not '%1'").arg(parser.value(tone)));
    p.tone = *mapping == 1 ? ToneMapping::ink : ToneMapping::bands;
    // The bands have neither: taking them silently would leave the user puzzling over art unchanged.
    if (p.tone == ToneMapping::bands && (parser.isSet(levels) || parser.isSet(dither)))
        return usageError(QStringLiteral("--levels and --dither are for --tone ink"));
    const std::optional<int> stretch = choiceOf(parser, levels, {QStringLiteral("off"), QStringLiteral("on")});
    if (!stretch)
        return usageError(QStringLiteral("--levels needs on or off, not '%1'").arg(parser.value(levels)));
    const std::optional<int> diffusion = choiceOf(parser, dither, {QStringLiteral("none"), QStringLiteral("fs")});
    if (!diffusion)
        return usageError(QStringLiteral("--dither needs fs or none, not '%1'").arg(parser.value(dither)));
    p.levels = *stretch == 1;
    p.diffusion = *diffusion == 1;
    return std::nullopt;
}

// --colour and --colour-fill. Plain text files have no colour: only text on standard output
// takes it, as a terminal's escape sequences.
std::optional<CliParse> readColourOptions(const QCommandLineParser &parser, const QCommandLineOption &colour,
                                          const QCommandLineOption &fill, CliRequest &request)
{
    RunParameters &p = request.parameters;
    p.colourLook = parser.isSet(fill) ? ColourLook::fills : ColourLook::characters;
    if (!parser.isSet(colour))
        return std::nullopt;
    const std::optional<int> depth = choiceOf(parser, colour, {QStringLiteral("none"), QStringLiteral("16"), QStringLiteral("256"),
                                                               QStringLiteral("truecolour"), QStringLiteral("auto")});
    if (!depth)
        return usageError(QStringLiteral("--colour needs none, 16, 256, truecolour or auto, not '%1'").arg(parser.value(colour)));
    request.colourAuto = *depth == 4;
    if (request.colourAuto)
        return std::nullopt;
    p.colour = std::array{ColourDepth::none, ColourDepth::palette16, ColourDepth::palette256, ColourDepth::truecolour}[std::size_t(*depth)];
    const OutputKind &kind = p.outputKind ? *p.outputKind : request.outputDir.isEmpty() ? outputKindOf(p.outputPath) : *outputKinds().first();
    if (p.colour != ColourDepth::none && kind.formatName() == outputKinds().first()->formatName() && !request.toStandardOutput)
        return usageError(QStringLiteral("--colour: plain text files have no colour; write a page, RTF or HTML, or text to -"));
    return std::nullopt;
}

} // namespace

CliParse parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption rampOption(QStringLiteral("ramp"),
        QStringLiteral("Characters from the lightest to the darkest (default: the first line of Formats.TXT, beside the program, "
                       "else the user's own copy, else the installed one, else ../share/glyphsmith/ from the program's folder)."),
        QStringLiteral("TEXT"));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
        QStringLiteral("Size factor applied to the picture, read with a '.' decimal point; 1 is unscaled and a "
                       "negative factor also leaves the picture unscaled (default: 1)."),
        QStringLiteral("FACTOR"), QStringLiteral("1"));
    const QCommandLineOption detailOption(QStringLiteral("detail"),
        QStringLiteral("Font size in points, 1 to 255; larger means bigger cells and fewer characters (default: 10)."),
        QStringLiteral("POINTS"), QStringLiteral("10"));
    const QCommandLineOption noReminderOption(QStringLiteral("no-reminder"),
        QStringLiteral("Leave out the friendly font reminder at the top of a text or HTML file (RTF never has one)."));
    const QCommandLineOption openOption(QStringLiteral("open"),
        QStringLiteral("Open the finished file with the desktop's default program; only %1 files are opened.")
            .arg(KindWords::openedExtensions()));
    const QCommandLineOption quietOption(QStringLiteral("quiet"),
        QStringLiteral("Show no progress line, nor the size factor --columns found."));
    const QCommandLineOption formatOption(QStringLiteral("format"),
        QStringLiteral("Write the art as %1, whatever the output's name (default: chosen by OUTPUT's extension; %2 in "
                       "an output folder and on standard output).")
            .arg(KindWords::formatNames(), outputKinds().first()->formatName()),
        QStringLiteral("KIND"));
    const QCommandLineOption columnsOption(QStringLiteral("columns"),
        QStringLiteral("Use the size factor that makes the art exactly N characters wide at the cell size (the "
                       "detail's, or --cell), instead of --size; the factor is shown on stderr."),
        QStringLiteral("N"));
    const QCommandLineOption encodingOption(QStringLiteral("encoding"),
        QStringLiteral("Code page of plain text: cp1252 (the default, where a character it lacks becomes '?') or utf-8, which "
                       "keeps every character; an HTML fragment in utf-8 is ASCII, every other character by number. RTF is "
                       "always Windows-1252 and a page UTF-8."),
        QStringLiteral("CODEPAGE"));
    const QCommandLineOption cellOption(QStringLiteral("cell"),
        QStringLiteral("Cut the picture into cells of W x H pixels instead of the detail's, for a display whose cells have "
                       "another shape (a terminal's: 8x16); RTF and the font reminder still name the detail's size."),
        QStringLiteral("WxH"));
    const QCommandLineOption invertOption(QStringLiteral("invert"),
        QStringLiteral("Draw for light text on a dark background: the bands use the ramp from the darkest to the "
                       "lightest, the ink takes each character's ink as light; in colour, characters take their cell's hue at "
                       "the light of white."));
    const QCommandLineOption toneOption(QStringLiteral("tone"),
        QStringLiteral("How cells become characters: 'bands' gives each cell the character of its band of equal grey "
                       "steps; 'ink' measures how much of its cell each character inks and gives each cell the "
                       "character that looks closest to the photo there, which keeps the photo's contrast "
                       "(default: bands)."),
        QStringLiteral("MAPPING"), QStringLiteral("bands"));
    const QCommandLineOption levelsOption(QStringLiteral("levels"),
        QStringLiteral("With --tone ink: 'on' stretches the photo's range, its darkest and lightest 1 % of cells to "
                       "the ramp's darkest and lightest shades; 'off' keeps the photo's range (default: on)."),
        QStringLiteral("on|off"), QStringLiteral("on"));
    const QCommandLineOption ditherOption(QStringLiteral("dither"),
        QStringLiteral("With --tone ink: 'fs' carries what each cell's character misses on to its neighbours "
                       "(Floyd-Steinberg), so that two characters mix into the shade between them, and swaps "
                       "neighbours' characters where the mix then follows the photo better; 'none' does "
                       "neither (default: fs)."),
        QStringLiteral("fs|none"), QStringLiteral("fs"));
    const QCommandLineOption colourOption(QStringLiteral("colour"),
        QStringLiteral("Draw each character in its cell's mean colour, at a depth of 16 or 256 colours (xterm's palette) "
                       "or truecolour, in a page, HTML, RTF, --render and text on standard output (escape sequences); "
                       "plain text files have none. 'auto' colours text on a terminal only: truecolour when COLORTERM "
                       "says truecolor or 24bit, 256 when TERM names 256 colours, else 16, and none when NO_COLOR is "
                       "set (default: auto on a terminal, else none)."),
        QStringLiteral("DEPTH"));
    const QCommandLineOption colourFillOption(QStringLiteral("colour-fill"),
        QStringLiteral("With colour: fill each cell with its colour and draw its character in a darker shade of it, so "
                       "the art reads as the picture from afar."));
    const QCommandLineOption outputDirOption(QStringLiteral("output-dir"),
        QStringLiteral("Convert every SOURCE given into this folder, made if missing; no OUTPUT is given then."),
        QStringLiteral("DIR"));
    const QCommandLineOption jobsOption(QStringLiteral("jobs"),
        QStringLiteral("With --output-dir, convert N pictures at a time (default: one per processor)."),
        QStringLiteral("N"), QString::number(QThread::idealThreadCount()));
    const QCommandLineOption maxMemoryOption(QStringLiteral("max-memory"),
        QStringLiteral("Refuse a picture whose decoding would take more memory than SIZE: bytes, or K, M, G or T of "
                       "1024, as in 512M (default: 2G, or half the machine's memory when that is less)."),
        QStringLiteral("SIZE"));
    const QCommandLineOption renderOption(QStringLiteral("render"),
        QStringLiteral("Also draw the art as a picture, each character centred in its own cell, and write it to FILE "
                       "as PNG, under the same rules as OUTPUT."),
        QStringLiteral("FILE"));
    const QCommandLineOption renderScaleOption(QStringLiteral("render-scale"),
        QStringLiteral("With --render, draw each cell with N times its pixels a side, the characters drawn at that size, "
                       "for a screen of N times the density, 1 to 8 (default: 1)."),
        QStringLiteral("N"), QStringLiteral("1"));
    parser.addOptions({rampOption, sizeOption, columnsOption, detailOption, cellOption, invertOption, toneOption, levelsOption,
                       ditherOption, colourOption, colourFillOption, formatOption, encodingOption, noReminderOption,
                       openOption, quietOption, renderOption, renderScaleOption, outputDirOption, jobsOption, maxMemoryOption});
    parser.addPositionalArgument(QStringLiteral("SOURCE"), QStringLiteral("The picture to convert; several with --output-dir."),
                                 QStringLiteral("SOURCE..."));
    parser.addPositionalArgument(QStringLiteral("OUTPUT"), QStringLiteral("The file to write, or - for standard output."),
                                 QStringLiteral("[OUTPUT]"));

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    // --help-all is listed by Qt's help option; the converter has no further options to show.
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all")))
        return {std::nullopt, parser.helpText(), CliExit::success};
    if (parser.isSet(versionOption))
        return {std::nullopt, QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion(),
                CliExit::success};

    CliRequest request;
    RunParameters &p = request.parameters;
    const QStringList positional = parser.positionalArguments();
    request.outputDir = parser.value(outputDirOption);
    if (parser.isSet(outputDirOption)) {
        if (request.outputDir.isEmpty())
            return usageError(QStringLiteral("--output-dir needs a folder name"));
        if (positional.isEmpty())
            return usageError(QStringLiteral("--output-dir needs at least one SOURCE"));
        if (positional.contains(QString()))
            return usageError(QStringLiteral("SOURCE must not be empty"));
        if (parser.isSet(openOption) || parser.isSet(renderOption))
            return usageError(QStringLiteral("--open and --render take a single SOURCE and OUTPUT, not --output-dir"));
        request.sources = positional;
    } else {
        if (positional.size() != 2) {
            return usageError(positional.size() > 2 ? QStringLiteral("several SOURCEs need --output-dir DIR")
                                                    : QStringLiteral("expected SOURCE and OUTPUT, got %1 file name(s)").arg(positional.size()));
        }
        if (positional.contains(QString()))
            return usageError(QStringLiteral("SOURCE and OUTPUT must not be empty"));
        p.sourcePath = positional[0];
        // Standard output is written through its descriptor, as /dev/stdout is, and never replaced.
        request.toStandardOutput = positional[1] == u"-";
        p.outputPath = request.toStandardOutput ? QStringLiteral("/dev/stdout") : positional[1];
        if (request.toStandardOutput && parser.isSet(openOption))
            return usageError(QStringLiteral("--open needs a file to open, not -"));
    }

    if (parser.isSet(formatOption)) {
        p.outputKind = outputKindNamed(parser.value(formatOption));
        if (!p.outputKind)
            return usageError(QStringLiteral("--format needs %1, not '%2'").arg(KindWords::formatNames(), parser.value(formatOption)));
    }

    bool ok = false;
    QLocale numbers = QLocale::c();
    numbers.setNumberOptions(QLocale::RejectGroupSeparator); // "1,500" is not fifteen hundred
    const float size = numbers.toFloat(parser.value(sizeOption), &ok);
    if (!ok || !std::isfinite(size))
        return usageError(QStringLiteral("--size needs a number, not '%1'").arg(parser.value(sizeOption)));
    p.sizeFactor = size;
    request.sizeGiven = parser.isSet(sizeOption);

    const uint detail = parser.value(detailOption).toUInt(&ok);
    if (!ok || detail < 1 || detail > 255)
        return usageError(QStringLiteral("--detail needs a whole number from 1 to 255, not '%1'").arg(parser.value(detailOption)));
    p.detail = quint8(detail);

    if (parser.isSet(encodingOption)) {
        const QString name = parser.value(encodingOption).toLower();
        if (name != u"cp1252" && name != u"utf-8")
            return usageError(QStringLiteral("--encoding needs cp1252 or utf-8, not '%1'").arg(parser.value(encodingOption)));
        p.encoding = name == u"utf-8" ? TextEncoding::Utf8 : TextEncoding::Windows1252;
        request.encodingGiven = true;
    }
    if (parser.isSet(cellOption)) {
        p.samplingCell = cellOf(parser.value(cellOption));
        if (!p.samplingCell)
            return usageError(QStringLiteral("--cell needs WxH, two whole numbers of pixels from 1 to 32767, not '%1'").arg(parser.value(cellOption)));
    }

    if (parser.isSet(columnsOption)) {
        if (parser.isSet(sizeOption))
            return usageError(QStringLiteral("--columns chooses the size factor: give it or --size, not both"));
        const uint columns = parser.value(columnsOption).toUInt(&ok);
        if (!ok || columns < 1)
            return usageError(QStringLiteral("--columns needs a whole number from 1, not '%1'").arg(parser.value(columnsOption)));
        // No side of a scaled picture may pass 32767 pixels.
        const int cellWidth = samplingCellOf(p).width;
        if (columns > uint(32767 / cellWidth)) {
            return usageError(QStringLiteral("--columns %1 of %2 pixels needs a picture %3 pixels wide, over the 32767 a side may have: "
                                             "at most %4 columns of that cell")
                                  .arg(columns).arg(cellWidth).arg(qint64(columns) * cellWidth).arg(32767 / cellWidth));
        }
        request.columns = int(columns);
    }

    if (parser.isSet(maxMemoryOption)) {
        p.memoryBudget = byteSizeOf(parser.value(maxMemoryOption));
        if (!p.memoryBudget)
            return usageError(QStringLiteral("--max-memory needs a size such as 512M, 2G or a number of bytes, not '%1'").arg(parser.value(maxMemoryOption)));
    }

    const uint jobs = parser.value(jobsOption).toUInt(&ok);
    if (!ok || jobs < 1 || jobs > 1024)
        return usageError(QStringLiteral("--jobs needs a whole number from 1 to 1024, not '%1'").arg(parser.value(jobsOption)));
    request.jobs = int(jobs);
    p.invert = parser.isSet(invertOption);
    if (const std::optional<CliParse> wrong = readToneOptions(parser, toneOption, levelsOption, ditherOption, p))
        return *wrong;

    if (const std::optional<CliParse> wrong = readColourOptions(parser, colourOption, colourFillOption, request))
        return *wrong;

    request.rampGiven = parser.isSet(rampOption);
    p.ramp = parser.value(rampOption);
    // Every row of art is one line: a line break in the ramp would break rows apart.
    if (p.ramp.contains(u'\r') || p.ramp.contains(u'\n'))
        return usageError(QStringLiteral("--ramp must not contain a line break"));
    if (!NameBytes::isText(p.ramp))
        return usageError(QStringLiteral("--ramp '%1' is not UTF-8 text").arg(p.ramp));
    p.fontReminder = !parser.isSet(noReminderOption);
    request.open = parser.isSet(openOption);
    request.quiet = parser.isSet(quietOption);
    request.renderPath = parser.value(renderOption);
    if (parser.isSet(renderOption) && request.renderPath.isEmpty())
        return usageError(QStringLiteral("--render needs a file name"));
    if (parser.isSet(renderOption) && request.renderPath == p.outputPath)
        return usageError(QStringLiteral("--render needs a file of its own, not OUTPUT"));
    // The picture is written through Qt, which holds names as text.
    if (!NameBytes::isText(request.renderPath))
        return usageError(QStringLiteral("--render needs a name of UTF-8 text, not '%1'").arg(request.renderPath));
    if (parser.isSet(renderScaleOption) && !parser.isSet(renderOption))
        return usageError(QStringLiteral("--render-scale goes with --render FILE"));
    const uint renderScale = parser.value(renderScaleOption).toUInt(&ok);
    if (!ok || renderScale < 1 || renderScale > 8)
        return usageError(QStringLiteral("--render-scale needs a whole number from 1 to 8, not '%1'").arg(parser.value(renderScaleOption)));
    request.renderScale = int(renderScale);

    // Found now, before anything is read or written: the later run would replace the earlier's art.
    const QString extension = (p.outputKind ? *p.outputKind : *outputKinds().first()).fileExtension();
    for (const QString &source : std::as_const(request.sources)) {
        const QString output = QDir(request.outputDir).filePath(QFileInfo(source).completeBaseName() + u'.' + extension);
        if (const qsizetype earlier = request.outputs.indexOf(output); earlier >= 0) {
            return usageError(QStringLiteral("'%1' and '%2' would both be written to %3; convert one of them on its own")
                                  .arg(request.sources[earlier], source, output));
        }
        request.outputs << output;
    }
    return {request, QString(), CliExit::success};
}
