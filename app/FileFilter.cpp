#include "app/FileFilter.h"

#include <QStringList>

namespace {

QString patternsOf(const QString &semicolonSeparated)
{
    QStringList patterns = semicolonSeparated.split(u';', Qt::SkipEmptyParts);
    for (QString &pattern : patterns) {
        pattern = pattern.trimmed();
        if (pattern == u"*.*")
            pattern = QStringLiteral("*");
    }
    patterns.removeAll(QString());
    return patterns.join(u' ');
}

QString withoutOwnPatterns(QString description)
{
    description = description.trimmed();
    if (description.endsWith(u')')) {
        const qsizetype open = description.lastIndexOf(u'(');
        if (open >= 0)
            description = description.left(open).trimmed();
    }
    return description;
}

} // namespace

QString qtFileFilter(const QString &barSeparated)
{
    const QStringList parts = barSeparated.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = patternsOf(parts[i + 1]);
        if (patterns.isEmpty())
            continue;
        const QString description = withoutOwnPatterns(parts[i]);
        filters << (description.isEmpty() ? patterns : description + QStringLiteral(" (") + patterns + u')');
    }
    return filters.join(QStringLiteral(";;"));
}
