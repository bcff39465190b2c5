#pragma once

class QWidget;

// Marks a top-level window that is about to be mapped as a small utility window of its own:
// no taskbar or pager entry, and nothing the window manager would offer to minimise. Call it
// from the window's showEvent, each time it is shown; a later change of the window's flags may
// give it a new native window without the marks. Does nothing outside X11.
void markToolWindow(QWidget* window);
