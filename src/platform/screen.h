#pragma once

class QWidget;

// Moves a top-level window to the middle of the screen it is on.
void centreOnScreen(QWidget* window);

// Shows a window without a modal loop and brings it forward, also when it was minimised.
void bringUp(QWidget& window);
