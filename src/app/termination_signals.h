// SIGTERM (what a desktop session sends at logout), SIGINT and SIGHUP end the viewer as
// closing its main window does, settings written. The signal handler only writes a byte
// into a pipe; the event loop reads it and closes the window, so nothing but that write
// happens inside the handler.
#pragma once

class QWidget;

namespace quendra {

// From now on, the first of those signals closes `window` (through its close event) once
// the event loop runs; a second one before that ends the program at once, as the signal
// would have without this. Call once, with the main window.
void closeOnTerminationSignals(QWidget* window);

} // namespace quendra
