// The C64 formats as freedesktop.org MIME types: one type per format, named as the C64
// tools on Linux name them (image/x-<extension>), each a kind of image/x-c64-picture.
//
// Some extensions belong to other files as well (*.rpm packages, *.gb and *.gg console
// ROMs, *.fli animations). Where two types claim a name, the MIME database reads the
// file's first bytes and takes the type whose magic, or whose parent's magic, matches.
// So the parent type carries the magic of all formats: their signatures and their load
// addresses. A real package or ROM keeps its own type by its own magic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quendra::mime {

inline constexpr const char* kParentType = "image/x-c64-picture";

struct MimeFormat {
    std::string type;                    // "image/x-koa"
    std::string comment;                 // "Koala Painter picture"
    std::vector<std::string> extensions; // lower case, without the dot, the main one first
    // A file of the format begins with one of the load addresses (where any are given)
    // and holds the signature at its offset (where one is given).
    std::vector<std::uint16_t> loadAddresses;
    std::string signature;
    std::size_t signatureOffset = 0;
    bool globs = true; // desktops may tell its files by their extensions
};

// Every format of the registry, in its order.
std::vector<MimeFormat> mimeFormats();

// The shared-mime-info package: the parent type with all magic, then one type per format.
std::string sharedMimeInfoXml(const std::vector<MimeFormat>& formats);

// "image/x-koa;image/x-ocp;…;" for a desktop entry's MimeType= key.
std::string desktopMimeList(const std::vector<MimeFormat>& formats);

// <mediatype> lines for AppStream's <provides>, and <li> lines naming the formats.
std::string appstreamMediaTypes(const std::vector<MimeFormat>& formats);
std::string appstreamFormatItems(const std::vector<MimeFormat>& formats);

// "Koala Painter picture (.koa, .rpm), …, GoDot 4Bit clip (.clp)" for running text.
std::string formatSentence(const std::vector<MimeFormat>& formats);

} // namespace quendra::mime
