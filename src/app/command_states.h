// Which of the main window's commands act, without widgets. Each change is a function of
// the moment (a file begins, a reading starts or ends, a save, a delete); what a reading
// leaves on is what the format row that read the picture says (its pictures show in grey,
// fit GoDot 4Bit's 16 colours, report progress). The window applies the result to its
// buttons in one place.
#pragma once

namespace quendra {

struct C64Format;

struct CommandStates {
    bool saveAs = false, flip = false, rotate = false, turn = false;
    bool zoomIn = false, zoomOut = false, origSize = false;
    bool grey = false;
    bool godot = true; // the "4Bit GoDot" radio button
    // Whether the file list takes a choice: off while a file is read or a GoDot file written.
    // The list itself stays enabled, so that it keeps the keyboard focus.
    bool fileList = true;
    bool selectGif = false; // a request to select GIF as the save format ("4Bit GoDot" is off)
    friend bool operator==(const CommandStates&, const CommandStates&) = default;
};

// Before every file: "4Bit GoDot" is offered again.
void dispatchBegins(CommandStates& s);
// A reading of `format` starts: the picture commands and the file list go off, and so does
// "Show gray", but for a row whose progress window shows a picture drawn in grey when it is
// ticked (GoDot's): there it keeps its state while the window shows.
void readingStarts(CommandStates& s, const C64Format& format);
// The reading ended with a picture: the commands come back; "Show gray" acts on pictures
// that can be drawn in grey; a picture that does not fit GoDot 4Bit takes "4Bit GoDot" away
// and asks for GIF instead.
void readingEnds(CommandStates& s, const C64Format& format);
// A PC picture (true colour) was shown: the picture commands act; "Show gray" does not (it
// is the C64 readers' table) and "4Bit GoDot" is taken away for GIF.
void trueColourShown(CommandStates& s);
// After a reader rejected its file: nothing is shown, so the commands that act on the
// picture stay off (the rest is as readingEnds leaves it).
void readerRejected(CommandStates& s);
// Whether a reading ends the start-up (while the first paint is pending the progress window
// stays hidden): a page of the paint programs that report their progress in their own
// colours (Printfox, Pagefox, FunPainter 2, VIC) once its drawing began, and one that fits
// no GoDot picture whatever came of it.
bool readingEndsStartUp(const C64Format& format, bool decodingBegan);
// While a GoDot file is written: the file list, "Save as...", the picture commands and
// "Show gray" go off. Afterwards the states from before the save come back as they were.
void saveStarts(CommandStates& s);
// After the selected file was deleted: back to the start, "4Bit GoDot" off as well.
void afterDelete(CommandStates& s);

} // namespace quendra
