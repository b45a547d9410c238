#pragma once

#include "engine/cells/CellMetrics.h"
#include "engine/cells/InkShades.h"

#include <QString>
#include <vector>

// The share of its cell each character's ink takes, 0 for a space to near 1 for a full block, and
// of each quarter of the cell: one minus the mean linear light when drawn black on white exactly
// as ArtRenderer draws it, anti-aliased edges included. Needs a QGuiApplication.
std::vector<CharacterInk> inkCoverageOf(const std::vector<QString> &characters, CellSize cell);
