#pragma once

class OptionCheckBox;
class Platform;
class QAction;
class QMenu;
class QString;

// The window's options, kept in the settings store under application "Glyphsmith", section
// "Options". The two option boxes: "Checks" for opening the finished file, "ChecksFR" for the
// font reminder; "1" checked, "0" unchecked, "2" greyed. The items of the Options menu: each
// under a key of its own, "1" checked and "0" unchecked.
namespace Options {

// Saves a box's value each time it changes, whoever changes it. The platform must outlive the boxes.
void keepSaved(Platform &platform, OptionCheckBox *openWhenDone, OptionCheckBox *fontReminder);

// Gives each box its stored value; a missing key means checked, a value that is not 0, 1 or 2
// leaves the box as it is.
void restore(Platform &platform, OptionCheckBox *openWhenDone, OptionCheckBox *fontReminder);

// A checkable item of `menu` named "mnu" + `key`, checked when the store holds "1" under `key`
// (off when the key is missing or holds anything else), and saved each time it changes. The
// platform must outlive the menu.
QAction *addRememberedItem(QMenu *menu, Platform &platform, const QString &text, const char *key);

} // namespace Options
