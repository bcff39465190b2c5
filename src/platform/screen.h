#pragma once

class QWidget;

// Moves a top-level window to the middle of the screen it is on.
void centreOnScreen(QWidget* window);

// Shows a window without a modal loop and brings it forward, also when it was minimised.
void bringUp(QWidget& window);

// How the window manager has a window now: on X11 its WM_STATE, read from the server at this
// moment (Qt's own view of it can be late); elsewhere Qt's view.
enum class WindowManagerState { Withdrawn, Normal, Minimised };
WindowManagerState windowManagerState(const QWidget& window);

// Asks the window manager to stop showing the desktop, which hides every window without
// minimising it. Does nothing outside X11.
void stopShowingDesktop();
