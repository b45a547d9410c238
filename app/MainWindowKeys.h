#pragma once

class QAction;
class QMainWindow;
struct MainWindowControls;

// The main window's shortcuts beside its menus: Ctrl+O and Ctrl+S the picture's and the output's
// Browse, Ctrl+Return "Make ASCII Picture", Ctrl+P "View Your Selected Picture", Ctrl+Q closes
// the window and F1 triggers `about`. Each clicks its button, so that a key reaches no button
// that a run has disabled; none shows in a menu, whose texts stay as they are.
void addMainWindowKeys(QMainWindow &window, const MainWindowControls &c, QAction *about);
