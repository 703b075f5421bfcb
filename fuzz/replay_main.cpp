// Replays a corpus through a fuzz target without libFuzzer, so CI checks every kept input.
//   replay_<family> GENERATED_DIR [KEPT_DIR...]
// Writes the seeds into GENERATED_DIR (creating it), then runs every file of every folder.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GENERATED_DIR [KEPT_DIR...]\n", argv[0]);
        return 2;
    }
    const fs::path generated = argv[1];
    fs::create_directories(generated);
    int n = 0;
    for (const auto& seed : quendraFuzzSeeds()) {
        std::ofstream out(generated / ("seed-" + std::to_string(n++)), std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.data()),
                  static_cast<std::streamsize>(seed.size()));
    }
    std::size_t runs = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (!fs::is_directory(argv[i], ec))
            continue;
        for (const auto& entry : fs::directory_iterator(argv[i])) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++runs;
        }
    }
    std::printf("replayed %zu inputs\n", runs);
    return runs > 0 ? 0 : 1;
}
