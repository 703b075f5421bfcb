#include "export/save_as.h"

#include "decode/c64_names.h"

namespace quendra {

namespace {

// Lower-case extensions, as quendra-convert writes them; the dialog lists either case.
constexpr SaveFormatRow kRows[] = {
    {PictureFormat::TIFF, "TIF", "tif", "TIF-Files (*.tif *.TIF)|*.tif *.TIF"},
    {PictureFormat::GIF, "GIF", "gif", "GIF-Files (*.gif *.GIF)|*.gif *.GIF"},
    {PictureFormat::BMP, "BMP", "bmp", "BMP-Files (*.bmp *.BMP)|*.bmp *.BMP"},
    {PictureFormat::PCX, "PCX", "pcx", "PCX-Files (*.pcx *.PCX)|*.pcx *.PCX"},
    {PictureFormat::PNG, "PNG", "png", "PNG-Files (*.png *.PNG)|*.png *.PNG"},
    {PictureFormat::JPEG, "JPG", "jpg", "JPG-Files (*.jpg *.JPG)|*.jpg *.JPG"},
    {PictureFormat::Godot4Bit, "4Bit GoDot", "4bt", "4Bit-GoDot-Files (*.4bt *.4BT)|*.4bt *.4BT"},
};

std::string_view namePart(std::string_view path) {
    const auto sep = path.rfind('/');
    return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::span<const SaveFormatRow> saveFormatRows() {
    return kRows;
}

const SaveFormatRow& saveFormatRow(PictureFormat format) {
    for (const SaveFormatRow& row : kRows) {
        if (row.format == format)
            return row;
    }
    return kRows[0];
}

std::string_view filterDescription(const SaveFormatRow& row) {
    return row.filter.substr(0, row.filter.find('|'));
}

std::string_view filterPattern(const SaveFormatRow& row) {
    const auto bar = row.filter.find('|');
    return bar == std::string_view::npos ? std::string_view{} : row.filter.substr(bar + 1);
}

std::string proposedBaseName(std::string_view currentFile) {
    std::string_view name = namePart(currentFile);
    // A C64-style name (pi.worldmap) is kept whole: its format is the prefix.
    if (isC64StyleName(name))
        return std::string(name) + '.';
    for (int cut = 0; cut < 3 && !name.empty(); ++cut) {
        std::size_t end = name.size() - 1;
        while (end > 0 && isContinuationByte(name[end]))
            --end;
        name = name.substr(0, end);
    }
    std::string base(name);
    if (base.find('.') == std::string::npos)
        base += '.';
    return base;
}

std::string proposedFileName(std::string_view currentFile, PictureFormat format) {
    return proposedBaseName(currentFile) + std::string(saveFormatRow(format).extension);
}

const std::string& SaveFolder::start(std::string_view directoryListFolder) {
    if (folder_.empty())
        folder_ = directoryListFolder;
    return folder_;
}

void SaveFolder::confirmed(std::string_view chosenPath) {
    const auto sep = chosenPath.rfind('/');
    if (sep != std::string_view::npos)
        folder_ = chosenPath.substr(0, sep + 1);
}

} // namespace quendra
