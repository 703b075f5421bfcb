// quendra-plugin-json OUT: the Qt image plugin's metadata, written at build time from the
// format registry: every extension as a key, beside it its format's MIME type (Qt pairs
// the two lists by position).
#include <cstdio>
#include <fstream>
#include <string>

#include "mime/mime_types.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("Usage: quendra-plugin-json OUT\n", stderr);
        return 2;
    }
    std::string keys, types;
    for (const auto& format : quendra::mime::mimeFormats()) {
        for (const auto& extension : format.extensions) {
            keys += (keys.empty() ? "\"" : ", \"") + extension + "\"";
            types += (types.empty() ? "\"" : ", \"") + format.type + "\"";
        }
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << "{\n    \"Keys\": [" << keys << "],\n    \"MimeTypes\": [" << types << "]\n}\n";
    out.close();
    if (!out) {
        std::fprintf(stderr, "quendra-plugin-json: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
