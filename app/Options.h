#pragma once

class OptionCheckBox;
class Platform;

// The two option boxes of the main window, kept in the settings store under application
// "Glyphsmith", section "Options": "Checks" for opening the finished file, "ChecksFR" for the
// font reminder; "1" checked, "0" unchecked, "2" greyed.
namespace Options {

// Saves a box's value each time it changes, whoever changes it. The platform must outlive the boxes.
void keepSaved(Platform &platform, OptionCheckBox *openWhenDone, OptionCheckBox *fontReminder);

// Gives each box its stored value; a missing key means checked, a value that is not 0, 1 or 2
// leaves the box as it is.
void restore(Platform &platform, OptionCheckBox *openWhenDone, OptionCheckBox *fontReminder);

} // namespace Options
