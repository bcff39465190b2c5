#pragma once

class QWidget;

// Moves a top-level window to the middle of the screen it is on.
void centreOnScreen(QWidget* window);

// Shows a window without a modal loop and brings it forward, also when it was minimised.
void bringUp(QWidget& window);

// Asks the window manager to stop showing the desktop, which hides every window without
// minimising it. Does nothing outside X11.
void stopShowingDesktop();
