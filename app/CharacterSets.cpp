#include "CharacterSets.h"

#include "RampFile.h"

#include <QListWidget>

namespace CharacterSets {

void load(QListWidget *list, const QString &programFolder)
{
    list->clear();
    list->addItems(RampFile::read(RampFile::pathIn(programFolder)));
}

bool add(QListWidget *list, const QString &ramp, const QString &programFolder)
{
    if (ramp.isEmpty())
        return false;
    list->addItem(ramp);
    QStringList ramps;
    for (int i = 0; i < list->count(); ++i)
        ramps << list->item(i)->text();
    return RampFile::write(RampFile::pathIn(programFolder), ramps);
}

} // namespace CharacterSets
