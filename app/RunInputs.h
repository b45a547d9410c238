#pragma once

#include <QLocale>
#include <QString>
#include <optional>

class OutputKind;

// The size factor typed by the user: a number in `locale`'s form ("0,5" under a comma locale)
// or in the C form ("0.5"); nothing when the text is neither.
std::optional<float> sizeFactorOf(const QString &text, const QLocale &locale = QLocale());

// The detail level of a detail text: a number that rounds (halves to even) to 0 ... 255.
std::optional<quint8> detailOf(const QString &text, const QLocale &locale = QLocale());

// Whether a run writes the font reminder: only when the box is fully checked, and never into a
// kind of file that sets its font itself (RTF).
bool fontReminderFor(const QString &outputPath, Qt::CheckState reminderBox);

// The kind an output is written as: an HTML name as a complete page when the user wants pages,
// else the kind its name chooses (null).
const OutputKind *outputKindFor(const QString &outputPath, bool completePages);
