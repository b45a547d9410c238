#pragma once

#include <QIcon>

class QWidget;

// The images of the program's icon group `name` ("ABC"): 16, 32, 48, 64 and 128 pixels square,
// from the resources ":/icons/<name in lower case>-<size>.png". Missing images are left out,
// so a missing group gives a null icon.
QIcon iconGroup(const QString &name);

// The window that owns `window` and is owned by none; `window` itself when it has no owner.
QWidget *topOwner(QWidget *window);

// Gives `window` the icon group `name` and, with `setOwner`, its top owner too.
void SetIcon(QWidget *window, const QString &name, bool setOwner);
