// The PC picture formats the program writes (and the image library reads), named once for
// the image library, the "Save as..." rows and the converter.
#pragma once

#include <optional>
#include <string_view>

namespace quendra {

enum class PictureFormat { PNG, GIF, BMP, PCX, TIFF, JPEG, Godot4Bit };

// The usual lower-case extension without the dot: "png", "tif", "jpg", "4bt".
constexpr std::string_view extensionOf(PictureFormat format) {
    switch (format) {
    case PictureFormat::PNG:
        return "png";
    case PictureFormat::GIF:
        return "gif";
    case PictureFormat::BMP:
        return "bmp";
    case PictureFormat::PCX:
        return "pcx";
    case PictureFormat::TIFF:
        return "tif";
    case PictureFormat::JPEG:
        return "jpg";
    case PictureFormat::Godot4Bit:
        return "4bt";
    }
    return {};
}

// The format whose extensionOf is `name` exactly; none for any other text.
constexpr std::optional<PictureFormat> pictureFormatNamed(std::string_view name) {
    for (PictureFormat f :
         {PictureFormat::PNG, PictureFormat::GIF, PictureFormat::BMP, PictureFormat::PCX,
          PictureFormat::TIFF, PictureFormat::JPEG, PictureFormat::Godot4Bit}) {
        if (extensionOf(f) == name)
            return f;
    }
    return std::nullopt;
}

} // namespace quendra
