// What the "Save as..." command proposes: the format rows in the order they are tested,
// the proposed file name and the folder the dialog starts in.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "export/picture_format.h"

namespace quendra {

struct SaveFormatRow {
    PictureFormat format;
    std::string_view button;    // the radio button's caption
    std::string_view extension; // proposed and default extension, without the dot
    std::string_view filter;    // dialog filter: "description|pattern"
};

// In the order the radio buttons are tested: TIF, GIF, BMP, PCX, PNG, JPG, 4Bit GoDot.
std::span<const SaveFormatRow> saveFormatRows();
const SaveFormatRow& saveFormatRow(PictureFormat format);

// The dialog's description and pattern parts of a row's filter.
std::string_view filterDescription(const SaveFormatRow& row);
std::string_view filterPattern(const SaveFormatRow& row);

// The name part of `currentFile` (no folder) with its last three characters cut off and a
// "." appended when what remains holds none: pic.koa gives "pic.", a.b.gg gives "a.b".
// Characters, not bytes: UTF-8 sequences are cut whole.
std::string proposedBaseName(std::string_view currentFile);

// Base name + the row's extension: pic.koa with GIF gives "pic.gif".
std::string proposedFileName(std::string_view currentFile, PictureFormat format);

// The folder the save dialog starts in: the directory list's folder until the first
// confirmed save, then the folder of the file last saved. Kept in memory only.
class SaveFolder {
  public:
    // The folder to start in; takes `directoryListFolder` when nothing was saved yet.
    const std::string& start(std::string_view directoryListFolder);
    // After a confirmed save: the chosen file's folder, with its trailing separator.
    void confirmed(std::string_view chosenPath);
    const std::string& folder() const { return folder_; }

  private:
    std::string folder_;
};

} // namespace quendra
