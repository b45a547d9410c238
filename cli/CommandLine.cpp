#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <cmath>

namespace {

QString description()
{
    return QStringLiteral(
    "Turns a picture into character art.\n\n"
    "SOURCE is a bitmap, JPEG, GIF, icon, cursor or PNG file. OUTPUT is written as rich text when\n"
    "its extension is .rtf, as HTML for .htm and .html, and as plain text otherwise, in the\n"
    "Windows-1252 code page with CR LF line ends. Each character stands for one cell of the\n"
    "picture the size of a 'Lucida Console' glyph at the detail size, so the art is true to the\n"
    "picture when shown in that font at that size.\n\n"
    "OUTPUT may also be /dev/stdout, /dev/stderr, /dev/fd/N or a device such as /dev/null: the\n"
    "rows are then written to it as they are made, and it is never replaced.\n\n"
    "Exit codes: 0 written; 1 refused or failed (one line on stderr: the reason, then its cause,\n"
    "as in 'The Source Picture Could Not Be Loaded: photo.jpg: No such file'; OUTPUT untouched);\n"
    "2 wrong arguments. Interrupted by Ctrl-C, SIGTERM or SIGHUP, it removes its unfinished\n"
    "output and then ends by that same signal, so that a shell loop around it stops too.");
}

CliParse usageError(const QString &message)
{
    return {std::nullopt, QStringLiteral("glyphsmith-cli: %1\nTry 'glyphsmith-cli --help'.").arg(message), CliExit::usage};
}

// Printable ASCII as it is, any other byte as \xNN.
QString escaped(const QByteArray &bytes)
{
    QString text;
    for (const char byte : bytes) {
        const auto code = uchar(byte);
        text += code >= 0x20 && code < 0x7F ? QString(QChar(code)) : QStringLiteral("\\x%1").arg(code, 2, 16, QChar(u'0'));
    }
    return text;
}

} // namespace

std::optional<CliParse> refuseUndecodable(int argc, const char *const argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        if (QFile::encodeName(QFile::decodeName(bytes)) != bytes)
            return usageError(QStringLiteral("'%1' is not UTF-8 text; read as text it would name another file").arg(escaped(bytes)));
    }
    return std::nullopt;
}

CliParse parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption rampOption(QStringLiteral("ramp"),
        QStringLiteral("Characters from the lightest to the darkest (default: the first line of Formats.TXT beside the program)."),
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
        QStringLiteral("Open the finished file with the desktop's default program; only .txt, .rtf, .htm and .html "
                       "files are opened."));
    const QCommandLineOption quietOption(QStringLiteral("quiet"), QStringLiteral("Show no progress line."));
    const QCommandLineOption renderOption(QStringLiteral("render"),
        QStringLiteral("Also draw the art as a picture, each character centred in its own cell, and write it to FILE "
                       "as PNG, under the same rules as OUTPUT."),
        QStringLiteral("FILE"));
    parser.addOptions({rampOption, sizeOption, detailOption, noReminderOption, openOption, quietOption, renderOption});
    parser.addPositionalArgument(QStringLiteral("SOURCE"), QStringLiteral("The picture to convert."));
    parser.addPositionalArgument(QStringLiteral("OUTPUT"), QStringLiteral("The file to write."));

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    // --help-all is listed by Qt's help option; the converter has no further options to show.
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all")))
        return {std::nullopt, parser.helpText(), CliExit::success};
    if (parser.isSet(versionOption))
        return {std::nullopt, QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion(),
                CliExit::success};

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2)
        return usageError(QStringLiteral("expected SOURCE and OUTPUT, got %1 file name(s)").arg(positional.size()));
    if (positional.contains(QString()))
        return usageError(QStringLiteral("SOURCE and OUTPUT must not be empty"));

    CliRequest request;
    RunParameters &p = request.parameters;
    p.sourcePath = positional[0];
    p.outputPath = positional[1];

    bool ok = false;
    QLocale numbers = QLocale::c();
    numbers.setNumberOptions(QLocale::RejectGroupSeparator); // "1,500" is not fifteen hundred
    const float size = numbers.toFloat(parser.value(sizeOption), &ok);
    if (!ok || !std::isfinite(size))
        return usageError(QStringLiteral("--size needs a number, not '%1'").arg(parser.value(sizeOption)));
    p.sizeFactor = size;

    const uint detail = parser.value(detailOption).toUInt(&ok);
    if (!ok || detail < 1 || detail > 255)
        return usageError(QStringLiteral("--detail needs a whole number from 1 to 255, not '%1'").arg(parser.value(detailOption)));
    p.detail = quint8(detail);

    request.rampGiven = parser.isSet(rampOption);
    p.ramp = parser.value(rampOption);
    // Every row of art is one line: a line break in the ramp would break rows apart.
    if (p.ramp.contains(u'\r') || p.ramp.contains(u'\n'))
        return usageError(QStringLiteral("--ramp must not contain a line break"));
    p.fontReminder = !parser.isSet(noReminderOption);
    request.open = parser.isSet(openOption);
    request.quiet = parser.isSet(quietOption);
    request.renderPath = parser.value(renderOption);
    if (parser.isSet(renderOption) && request.renderPath.isEmpty())
        return usageError(QStringLiteral("--render needs a file name"));
    if (parser.isSet(renderOption) && request.renderPath == p.outputPath)
        return usageError(QStringLiteral("--render needs a file of its own, not OUTPUT"));
    return {request, QString(), CliExit::success};
}
