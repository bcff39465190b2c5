#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// Moves a top-level window, with the window manager's frame around it, to the middle of the
// area of its screen that panels leave free.
void centreOnScreen(QWidget* window);

// The frame a window manager puts around an ordinary window (its title bar and borders), as it
// tells before any window is shown; none outside X11 or without an answer. askWindowFrame() puts
// the question early, so the answer can come while the program does other work.
void askWindowFrame();
QMargins windowFrame();

// The primary screen's area that panels leave free for windows.
QRect availableArea();

// Shows a window without a modal loop and brings it forward, also when it was minimised.
void bringUp(QWidget& window);

// How the window manager has a window now: on X11 its WM_STATE, read from the server at this
// moment (Qt's own view of it can be late); elsewhere Qt's view.
enum class WindowManagerState { Withdrawn, Normal, Minimised };
WindowManagerState windowManagerState(const QWidget& window);
