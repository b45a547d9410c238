#include "app/ProductInfo.h"

#include <QStringList>

namespace ProductInfo {

QString version()
{
    return QStringLiteral("%1.%2.%3").arg(GLYPHSMITH_VERSION_MAJOR).arg(GLYPHSMITH_VERSION_MINOR).arg(GLYPHSMITH_VERSION_PATCH);
}

QString versionLine()
{
    return QStringLiteral("Glyphsmith Version: %1.%2 Build %3")
        .arg(GLYPHSMITH_VERSION_MAJOR)
        .arg(GLYPHSMITH_VERSION_MINOR)
        .arg(GLYPHSMITH_VERSION_PATCH);
}

QString aboutTitle() { return QStringLiteral("About Quorvane Glyphsmith"); }

QString aboutText()
{
    // A message box breaks lines at "\n"; a carriage return would show as a stray glyph.
    return QStringList{QStringLiteral("Glyphsmith is a handy tool to quickly generate ASCII text images from common graphical images."),
                       QStringLiteral("For more information on Glyphsmith or other software visit ") + supportAddress,
                       QString(),
                       versionLine()}
        .join(u'\n');
}

} // namespace ProductInfo
