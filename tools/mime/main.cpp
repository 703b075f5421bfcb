// quendra-mime-types: the freedesktop.org MIME types of the C64 formats, made at build time
// from the format registry so that every format the readers take is known to file managers.
//   quendra-mime-types xml OUT             the shared-mime-info package (quendra.xml)
//   quendra-mime-types fill TEMPLATE OUT   TEMPLATE with @MIME_TYPES@ (a desktop-entry list,
//                                          "a;b;"; @DISK_MIME_TYPES@ the disk and tape
//                                          images') and @MEDIA_TYPES@ / @FORMAT_ITEMS@
//                                          (AppStream lines) and @FORMAT_TEXT@ (a sentence's
//                                          list) replaced; KEY=VALUE arguments after OUT
//                                          replace @KEY@ as well
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "mime/disk_types.h"
#include "mime/mime_types.h"

namespace {

std::string replaceAll(std::string text, std::string_view key, const std::string& value) {
    for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
        text.replace(at, key.size(), value);
    return text;
}

int writeText(const char* outputPath, const std::string& text) {
    std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "quendra-mime-types: cannot write %s\n", outputPath);
        return 1;
    }
    return 0;
}

int fill(const char* templatePath, const char* outputPath, int argc, char** argv) {
    std::ifstream in(templatePath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "quendra-mime-types: cannot read %s\n", templatePath);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    const auto formats = quendra::mime::mimeFormats();
    std::string result = text.str();
    result = replaceAll(result, "@MIME_TYPES@", quendra::mime::desktopMimeList(formats));
    result = replaceAll(result, "@DISK_MIME_TYPES@", quendra::mime::diskMimeList());
    result = replaceAll(result, "@MEDIA_TYPES@", quendra::mime::appstreamMediaTypes(formats));
    result = replaceAll(result, "@FORMAT_ITEMS@", quendra::mime::appstreamFormatItems(formats));
    result = replaceAll(result, "@FORMAT_TEXT@", quendra::mime::formatSentence(formats));
    for (int i = 0; i < argc; ++i) {
        const std::string_view setting = argv[i];
        const auto equals = setting.find('=');
        if (equals == std::string_view::npos) {
            std::fprintf(stderr, "quendra-mime-types: %s is no KEY=VALUE\n", argv[i]);
            return 2;
        }
        result = replaceAll(result, "@" + std::string(setting.substr(0, equals)) + "@",
                            std::string(setting.substr(equals + 1)));
    }
    return writeText(outputPath, result);
}

} // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (argc == 3 && mode == "xml") {
        // The disk and tape images' types (disk_types.h) before the package's end.
        std::string xml = quendra::mime::sharedMimeInfoXml(quendra::mime::mimeFormats());
        xml.insert(xml.rfind("</mime-info>"), quendra::mime::diskTypesXml());
        return writeText(argv[2], xml);
    }
    if (argc >= 4 && mode == "fill")
        return fill(argv[2], argv[3], argc - 4, argv + 4);
    std::fputs("Usage: quendra-mime-types xml OUT\n       quendra-mime-types fill TEMPLATE OUT "
               "[KEY=VALUE]...\n",
               stderr);
    return 2;
}
