// quendra-samples: writes the sample pictures into a folder.
//   quendra-samples DIR                    one file of every format
//   quendra-samples --koala-batch N DIR    N different Koala pictures (for measuring batches)
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "samples/sample_files.h"

namespace {

bool writeFile(const std::filesystem::path& path, const quendra::samples::ByteVector& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        std::fprintf(stderr, "quendra-samples: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

int usage() {
    std::fputs("Usage: quendra-samples DIR\n       quendra-samples --koala-batch N DIR\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    using namespace quendra::samples;
    int count = -1;
    fs::path dir;
    if (argc == 2 && argv[1][0] != '-') {
        dir = argv[1];
    } else if (argc == 4 && std::string(argv[1]) == "--koala-batch") {
        const std::string n = argv[2];
        const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), count);
        if (ec != std::errc() || end != n.data() + n.size() || count < 0)
            return usage();
        dir = argv[3];
    } else {
        return usage();
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "quendra-samples: %s: %s\n", dir.c_str(), ec.message().c_str());
        return 1;
    }
    bool ok = true;
    if (count < 0) {
        for (const SampleFile& f : allSampleFiles())
            ok &= writeFile(dir / f.name, f.bytes);
    } else {
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "koala-%04d.koa", i);
            ok &= writeFile(dir / name, makeKoala(testPattern(static_cast<unsigned>(i))));
        }
    }
    return ok ? 0 : 1;
}
