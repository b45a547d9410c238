#include "app/ProposedOutput.h"

QString proposedOutputPath(const QString &sourcePath)
{
    const qsizetype nameStart = std::max(sourcePath.lastIndexOf(u'/'), sourcePath.lastIndexOf(u'\\')) + 1;
    const qsizetype dot = sourcePath.lastIndexOf(u'.');
    const QString stem = dot >= nameStart ? sourcePath.left(dot) : sourcePath;
    return stem + QStringLiteral(".txt");
}
