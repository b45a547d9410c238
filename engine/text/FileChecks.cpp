#include "engine/text/FileChecks.h"

#include "engine/text/NameBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::file_status statusOf(const QString &path, std::error_code &error)
{
    return fs::status(NameBytes::toPath(path), error);
}

// Whether each name along a canonical path is listed by its folder exactly as spelled. On a
// file system that ignores letter case, another spelling also leads to the file but is not listed.
bool spelledAsStored(const QString &canonicalPath)
{
    for (QFileInfo entry(canonicalPath); !entry.isRoot(); entry = QFileInfo(entry.path())) {
        if (!QDir(entry.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System).contains(entry.fileName()))
            return false;
    }
    return true;
}

} // namespace

namespace FileChecks {

bool isSpecialFile(const QString &path)
{
    std::error_code error;
    const fs::file_status status = statusOf(path, error);
    return fs::exists(status) && !fs::is_regular_file(status);
}

std::optional<QString> sourceProblem(const QString &path)
{
    std::error_code error;
    const fs::file_status status = statusOf(path, error);
    if (status.type() == fs::file_type::not_found)
        return QStringLiteral("No such file");
    if (error)
        return QString::fromStdString(error.message());
    if (!fs::is_regular_file(status))
        return QStringLiteral("not a regular file");
    return std::nullopt;
}

bool sameFile(const QString &a, const QString &b)
{
    std::error_code error;
    if (fs::equivalent(NameBytes::toPath(a), NameBytes::toPath(b), error))
        return true;
    // Some file systems that ignore letter case (exFAT through FUSE) number a file anew for
    // each spelling, so its device and inode do not tell.
    const QString first = QFileInfo(a).canonicalFilePath();
    const QString second = QFileInfo(b).canonicalFilePath();
    return !first.isEmpty() && first != second && first.compare(second, Qt::CaseInsensitive) == 0
        && !(spelledAsStored(first) && spelledAsStored(second));
}

std::optional<int> descriptorNamedBy(const QString &path)
{
    // Compiled here, once: left to its first match, runs on several threads would compile it at once.
    static const QRegularExpression named = [] {
        QRegularExpression pattern(QStringLiteral("^/dev/(stdout|stderr)$|^/(?:dev|proc/self)/fd/(\\d{1,9})$"));
        pattern.optimize();
        return pattern;
    }();
    const QRegularExpressionMatch match = named.match(QDir::cleanPath(path));
    if (!match.hasMatch())
        return std::nullopt;
    if (match.hasCaptured(1))
        return match.captured(1) == u"stdout" ? 1 : 2;
    return match.captured(2).toInt();
}

bool isStream(const QString &path)
{
    std::error_code error;
    return descriptorNamedBy(path) || fs::is_character_file(statusOf(path, error));
}

} // namespace FileChecks
