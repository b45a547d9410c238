#pragma once

#include "app/MainWindowControls.h"

class QWidget;

// Window measures are kept in twips (1440 per inch) as the window was drawn; one pixel at
// 96 dots per inch is 15 twips. Rounds halves to even.
int twips(int value);

// The size of the main window's client area in pixels.
inline constexpr int clientWidthTwips = 8535;
inline constexpr int clientHeightTwips = 7395;

// Creates the main window's controls inside `client`, each named after itself, placed, captioned
// and in tab order; the hidden ones lie below the client area.
MainWindowControls buildMainWindowControls(QWidget *client);
