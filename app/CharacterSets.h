#pragma once

class QListWidget;
class QString;

// The list of character ramps and its file, Formats.TXT in the program's folder.
namespace CharacterSets {

// Replaces the list's entries with the file's lines; a missing file gives one empty entry.
void load(QListWidget *list, const QString &programFolder);

// Appends `ramp` as it is (an empty one is ignored) and rewrites the file with every entry.
// Whether the file was rewritten; on failure it keeps its old contents and the entry stays
// in the list only.
bool add(QListWidget *list, const QString &ramp, const QString &programFolder);

} // namespace CharacterSets
