#pragma once

#include <QString>
#include <optional>

// What the file system says about the files of a run, found without opening them: opening a
// FIFO or a device can block for ever.
namespace FileChecks {

// Whether something other than a regular file is at `path`: a FIFO, a device, a folder, a socket.
bool isSpecialFile(const QString &path);

// Why `path` cannot be read as a picture: "No such file", "not a regular file" or the system's
// reason; nothing for a regular file.
std::optional<QString> sourceProblem(const QString &path);

// Whether both paths reach one existing file, however they are spelled: letter case on a file
// system that ignores it, symbolic or hard links, "..".
bool sameFile(const QString &a, const QString &b);

// The open descriptor an output path stands for: /dev/stdout, /dev/stderr, /dev/fd/N or
// /proc/self/fd/N. Opened again by name, it would be truncated or replaced.
std::optional<int> descriptorNamedBy(const QString &path);

// Whether an output is a stream, written straight through and never replaced: a named
// descriptor or a character device such as /dev/null.
bool isStream(const QString &path);

} // namespace FileChecks
