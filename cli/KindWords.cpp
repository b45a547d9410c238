#include "cli/KindWords.h"

#include "engine/text/OutputKind.h"
#include "engine/text/OutputKinds.h"

namespace {

QStringList dotted(const QStringList &extensions)
{
    QStringList names;
    for (const QString &extension : extensions)
        names << u'.' + extension;
    return names;
}

} // namespace

namespace KindWords {

QString listed(const QStringList &items, const QString &conjunction)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.first(items.size() - 1).join(QStringLiteral(", ")) + u' ' + conjunction + u' ' + items.last();
}

QString formatNames()
{
    QStringList names;
    for (const OutputKind *kind : outputKinds())
        names << kind->formatName();
    return listed(names, QStringLiteral("or"));
}

QString choiceByExtension()
{
    const QList<const OutputKind *> kinds = outputKinds();
    QStringList choices;
    for (const OutputKind *kind : kinds.sliced(1)) {
        if (kind->extensions().isEmpty())
            continue;
        const QString by = choices.isEmpty() ? QStringLiteral("when its extension is") : QStringLiteral("for");
        choices << QStringLiteral("as %1 %2 %3").arg(kind->description(), by, listed(dotted(kind->extensions()), QStringLiteral("and")));
    }
    return choices.join(QStringLiteral(", ")) + QStringLiteral(", and as %1 otherwise").arg(kinds.first()->description());
}

QString openedExtensions() { return listed(dotted(kindExtensions()), QStringLiteral("and")); }

} // namespace KindWords
