#include "app/frmASCII.h"
#include "app/modSetAlphaIcon.h"
#include "app/ProductInfo.h"
#include "app/QtPlatform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <memory>

namespace {

void describeArguments(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("Turns a picture into character art."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("Starts with this picture chosen."),
                                 QStringLiteral("[PICTURE]"));
}

// Help and the version are only text: a GUI application would need a display to print them,
// which a terminal over SSH or a build machine does not have.
bool asksOnlyForText(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    describeArguments(parser);
    if (!parser.parse(arguments))
        return false;
    return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) || parser.isSet(QStringLiteral("version"));
}

} // namespace

// subMain. The original start-up loaded the shell library and initialised the common controls
// before showing the window; Qt needs neither: its widgets include the status and progress bars
// and draw with the platform's own style, which is what the visual-styles request was for.
int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> app = asksOnlyForText(argc, argv) ? std::make_unique<QCoreApplication>(argc, argv)
                                                                               : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(ProductInfo::name);
    QCoreApplication::setOrganizationName(ProductInfo::organisation);
    QCoreApplication::setApplicationVersion(ProductInfo::version());
    QCommandLineParser parser;
    describeArguments(parser);
    parser.process(*app);

    QApplication::setWindowIcon(iconGroup(QStringLiteral("ABC")));
    QtPlatform platform;
    frmASCII window(platform);
    if (const QStringList pictures = parser.positionalArguments(); !pictures.isEmpty())
        window.takePicture(QFileInfo(pictures.first()).absoluteFilePath());
    QObject::connect(&window, &frmASCII::unloaded, app.get(), &QCoreApplication::quit, Qt::QueuedConnection);
    window.show();
    return app->exec();
}
