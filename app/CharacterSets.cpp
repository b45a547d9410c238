#include "app/CharacterSets.h"

#include "engine/text/RampFile.h"

#include <QListWidget>

namespace CharacterSets {

void load(QListWidget *list, const RampFile::Folders &folders)
{
    list->clear();
    list->addItems(RampFile::read(RampFile::pathToRead(folders)));
}

bool add(QListWidget *list, const QString &ramp, const RampFile::Folders &folders)
{
    if (ramp.isEmpty())
        return false;
    list->addItem(ramp);
    QStringList ramps;
    for (int i = 0; i < list->count(); ++i)
        ramps << list->item(i)->text();
    return RampFile::write(RampFile::pathToWrite(folders), ramps);
}

} // namespace CharacterSets
