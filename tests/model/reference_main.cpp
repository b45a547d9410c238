// Writes what the reference model says a conversion must produce, with the converter's own arguments,
// so that scripts can hold the two side by side.
#include "ReferenceModel.h"
#include "ShippedRamp.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption rampOption(QStringLiteral("ramp"), QStringLiteral("Characters from light to dark."), QStringLiteral("text"));
    const QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Size factor."), QStringLiteral("factor"), QStringLiteral("1"));
    const QCommandLineOption detailOption(QStringLiteral("detail"), QStringLiteral("Detail in points."), QStringLiteral("points"), QStringLiteral("10"));
    const QCommandLineOption noReminderOption(QStringLiteral("no-reminder"), QStringLiteral("Leave out the font reminder."));
    parser.addOptions({rampOption, sizeOption, detailOption, noReminderOption});
    parser.addPositionalArgument(QStringLiteral("source"), QStringLiteral("Picture to convert."));
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("File to write."));
    parser.process(app);

    bool sizeIsNumber = false;
    bool detailIsNumber = false;
    const float size = QLocale::c().toFloat(parser.value(sizeOption), &sizeIsNumber);
    const uint detail = parser.value(detailOption).toUInt(&detailIsNumber);
    if (parser.positionalArguments().size() != 2 || !sizeIsNumber || !detailIsNumber || detail == 0 || detail > 255) {
        std::fprintf(stderr, "glyphsmith-reference: bad arguments\n");
        return 2;
    }
    const QString ramp = parser.isSet(rampOption)
        ? parser.value(rampOption)
        : firstRampIn(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Formats.TXT")));

    const QString output = parser.positionalArguments().at(1);
    const ReferenceResult result = referenceOutput(parser.positionalArguments().at(0), output, ramp, size, quint8(detail),
                                                   !parser.isSet(noReminderOption));
    if (!result.fault.isEmpty()) {
        std::fprintf(stderr, "glyphsmith-reference: model fault: %s\n", qPrintable(result.fault));
        return 4;
    }
    if (result.refused()) {
        std::fprintf(stderr, "glyphsmith-reference: %s\n", qPrintable(result.refusal));
        return 1;
    }
    QFile file(output);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(result.bytes) != result.bytes.size()) {
        std::fprintf(stderr, "glyphsmith-reference: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
