#pragma once

#include "engine/text/RampFile.h"

class QListWidget;
class QString;

// The list of character ramps and its file, Formats.TXT: beside the program, or the user's own
// copy, or the installed one.
namespace CharacterSets {

// Replaces the list's entries with the file's lines; no file gives one empty entry.
void load(QListWidget *list, const RampFile::Folders &folders);

// Appends `ramp` as it is (an empty one is ignored) and saves every entry shown, beside the
// program when it can, else as the user's own copy. Whether the file was written; on failure
// it keeps its old contents and the entry stays in the list only.
bool add(QListWidget *list, const QString &ramp, const RampFile::Folders &folders);

} // namespace CharacterSets
