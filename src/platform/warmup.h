#pragma once

// Loads what the first window waits for longest: the system's list of fonts and Qt's image
// plugins. Run on a second thread once the application object is made, while the main thread
// builds the window and finds them loaded, or waits for the rest.
void loadFontsAndImagePlugins();
