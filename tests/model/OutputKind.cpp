#include "OutputKind.h"

#include <QString>

#include <algorithm>

namespace {

// The text after the last "." of the part after the last "/" or "\"; empty without a "."
// and when that text is 255 characters or longer.
QString extensionOf(const QString &outputName)
{
    const qsizetype lastSeparator = std::max(outputName.lastIndexOf(u'/'), outputName.lastIndexOf(u'\\'));
    const QString fileName = outputName.mid(lastSeparator + 1);
    const qsizetype lastDot = fileName.lastIndexOf(u'.');
    if (lastDot < 0)
        return {};
    const QString extension = fileName.mid(lastDot + 1);
    if (extension.size() >= 255)
        return {};
    return extension;
}

} // namespace

OutputKind outputKindFor(const QString &outputName)
{
    const QString extension = extensionOf(outputName).toUpper();
    if (extension == QLatin1String("RTF"))
        return OutputKind::RichText;
    if (extension == QLatin1String("HTM") || extension == QLatin1String("HTML"))
        return OutputKind::Html;
    return OutputKind::Text;
}
