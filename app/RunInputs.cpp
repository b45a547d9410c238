#include "app/RunInputs.h"

#include "engine/text/OutputKind.h"
#include "engine/text/OutputKinds.h"
#include "engine/text/modFile.h"

#include <cmath>
#include <limits>

namespace {

// Group separators are refused so that "1.5" under a locale that groups with "." is read in the
// C form instead of as fifteen.
std::optional<double> numberOf(const QString &text, QLocale locale)
{
    const QString trimmed = text.trimmed();
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = locale.toDouble(trimmed, &ok);
    if (!ok) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        value = c.toDouble(trimmed, &ok);
    }
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<float> sizeFactorOf(const QString &text, const QLocale &locale)
{
    const std::optional<double> value = numberOf(text, locale);
    if (!value || !std::isfinite(*value) || std::abs(*value) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(*value);
}

std::optional<quint8> detailOf(const QString &text, const QLocale &locale)
{
    const std::optional<double> value = numberOf(text, locale);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value);
    if (!(rounded >= 0 && rounded <= 255))
        return std::nullopt;
    return quint8(rounded);
}

bool fontReminderFor(const QString &outputPath, Qt::CheckState reminderBox)
{
    return reminderBox == Qt::Checked && outputKindOf(outputPath).takesFontReminder();
}

const OutputKind *outputKindFor(const QString &outputPath, bool completePages)
{
    const OutputKind *page = outputKindNamed(QStringLiteral("page"));
    return completePages && page->extensionsRead().contains(modFile::GetExtension(outputPath), Qt::CaseInsensitive) ? page : nullptr;
}
