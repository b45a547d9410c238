#include "app/frmASCII.h"
#include "app/modSetAlphaIcon.h"
#include "app/ProductInfo.h"
#include "app/QtPlatform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

// subMain. The original start-up loaded the shell library and initialised the common controls
// before showing the window; Qt needs neither: its widgets include the status and progress bars
// and draw with the platform's own style, which is what the visual-styles request was for.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProductInfo::name);
    QApplication::setOrganizationName(ProductInfo::organisation);
    QApplication::setApplicationVersion(ProductInfo::version());
    QApplication::setWindowIcon(iconGroup(QStringLiteral("ABC")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Turns a picture into character art."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("Starts with this picture chosen."), QStringLiteral("[PICTURE]"));
    parser.process(app);

    QtPlatform platform;
    frmASCII window(platform);
    if (const QStringList pictures = parser.positionalArguments(); !pictures.isEmpty())
        window.takePicture(QFileInfo(pictures.first()).absoluteFilePath());
    QObject::connect(&window, &frmASCII::unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window.show();
    return app.exec();
}
