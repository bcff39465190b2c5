#pragma once

#include <QApplication>

// A check for desktop tests, on only when the environment variable TEMPIX_FIT_CHECK is set:
// a moment after each window is shown, every caption of it (labels, check boxes, option
// buttons, buttons, tabs, frames, menu titles) is measured against the room it has on screen,
// and each one that is cut is written to standard error as a "tempix-fit: narrow" line; a
// "tempix-fit: checked" line names every window checked.
void installFitCheck(QApplication& app);
