#pragma once

class QString;

enum class OutputKind { Text, RichText, Html };

// Chosen by the upper-cased extension of the output's file name; folders never count.
OutputKind outputKindFor(const QString &outputName);
