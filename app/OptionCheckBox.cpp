#include "app/OptionCheckBox.h"

int OptionCheckBox::value() const
{
    switch (checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

bool OptionCheckBox::setValue(int value)
{
    switch (value) {
    case 0:
        setCheckState(Qt::Unchecked);
        return true;
    case 1:
        setCheckState(Qt::Checked);
        return true;
    case 2:
        setCheckState(Qt::PartiallyChecked);
        return true;
    default:
        return false;
    }
}

void OptionCheckBox::nextCheckState()
{
    // The greyed state counts as unchecked, so a click from it checks the box.
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}
