// The MIME types of the disk and tape images the thumbnailer reads, where the shared
// database has none: application/x-d64 and its kin, each with its globs and its magic.
#pragma once

#include <string>

namespace quendra::mime {

// <mime-type> elements for the shared-mime-info package.
std::string diskTypesXml();

// "application/x-d64;…;" for a desktop entry's MimeType= key.
std::string diskMimeList();

} // namespace quendra::mime
