// Small pictures for the main window's picture buttons, drawn at run time.
#pragma once

#include <QIcon>

namespace quendra::glyphs {

QIcon details();    // rows with columns: the report view
QIcon list();       // a plain list of names
QIcon deleteFile(); // a sheet of paper with a red cross

} // namespace quendra::glyphs
