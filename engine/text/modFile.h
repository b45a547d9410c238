#pragma once

#include <QString>

namespace modFile {

// The text after the last "." of the file name (the part after the last "/" or "\"), in its
// own case; empty when the name has no "." or the extension is 255 characters or longer.
QString GetExtension(const QString &path);

// `folder` followed by exactly one separator; a path already ending in "/" or "\" is kept.
QString AddBackslash(const QString &folder);

// Whether handing the file to the desktop's default handler is safe: only files with the
// extension of an output kind are opened, since the handler of an arbitrary name may execute it.
bool isSafeToOpen(const QString &path);

// Asks the desktop to open `path` with its default handler. Returns whether the request was
// handed on; unsafe kinds (see isSafeToOpen) are refused.
bool ShellOpen(const QString &path);

} // namespace modFile
