// quendra-kio-json OUT: the KIO thumbnail plugin's metadata, written at build time from
// the format registry: the MIME type of every C64 picture format, their parent type (files
// told by their bytes alone) and the disk and tape images' types, the same list the
// thumbnailer's entry names.
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "mime/disk_types.h"
#include "mime/mime_types.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("Usage: quendra-kio-json OUT\n", stderr);
        return 2;
    }
    std::string types = std::string("\"") + quendra::mime::kParentType + "\"";
    std::string list = quendra::mime::desktopMimeList(quendra::mime::mimeFormats()) +
                       quendra::mime::diskMimeList();
    for (std::size_t start = 0, end; (end = list.find(';', start)) != std::string::npos;
         start = end + 1)
        types += ",\n            \"" + list.substr(start, end - start) + "\"";
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << "{\n"
           "    \"CacheThumbnail\": true,\n"
           "    \"KPlugin\": {\n"
           "        \"Name\": \"Commodore 64 pictures\",\n"
           "        \"Description\": \"Previews of C64 pictures and of the pictures on C64 "
           "disk and tape images, by Quendra\",\n"
           "        \"MimeTypes\": [\n            "
        << types << "\n        ]\n    }\n}\n";
    out.close();
    if (!out) {
        std::fprintf(stderr, "quendra-kio-json: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
