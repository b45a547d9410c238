#pragma once

class QString;

// The first line of a ramp list file, read as Windows-1252; empty when the file is missing or empty.
QString firstRampIn(const QString &rampListPath);
