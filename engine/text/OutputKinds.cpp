#include "engine/text/OutputKinds.h"

#include "engine/text/modFile.h"
#include "engine/text/OutputKind.h"

#include <array>

// The kind table: one line a kind, in the order the converter names them, the first being the
// default. `class HtmlKind` declares the class that the kind's own file defines and instantiates.
static constexpr std::array kindTable{
    &theKind<class TextKind>,
    &theKind<class RichTextKind>,
    &theKind<class HtmlKind>,
    &theKind<class PageKind>,
};

QList<const OutputKind *> outputKinds()
{
    QList<const OutputKind *> kinds;
    for (const auto kind : kindTable)
        kinds << &kind();
    return kinds;
}

const OutputKind &outputKindOf(const QString &outputPath)
{
    const QString extension = modFile::GetExtension(outputPath);
    for (const OutputKind *kind : outputKinds()) {
        if (kind->extensions().contains(extension, Qt::CaseInsensitive))
            return *kind;
    }
    return kindTable.front()();
}

QList<const OutputKind *> kindsReading(const QString &path)
{
    const QString extension = modFile::GetExtension(path);
    QList<const OutputKind *> kinds;
    for (const OutputKind *kind : outputKinds()) {
        if (kind->extensionsRead().contains(extension, Qt::CaseInsensitive))
            kinds << kind;
    }
    return kinds.isEmpty() ? QList<const OutputKind *>{&kindTable.front()()} : kinds;
}

const OutputKind *outputKindNamed(const QString &formatName)
{
    for (const OutputKind *kind : outputKinds()) {
        if (kind->formatName() == formatName)
            return kind;
    }
    return nullptr;
}

QStringList kindExtensions()
{
    QStringList extensions;
    for (const OutputKind *kind : outputKinds())
        extensions << kind->extensions() << kind->fileExtension();
    extensions.removeDuplicates();
    return extensions;
}
