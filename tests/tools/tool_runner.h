// Running the command-line programs from tests: exit status, standard output and error.
#pragma once

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace quendra::testing {

struct RunResult {
    int status = -1;
    std::string out, err;
};

// The programs' folder: QUENDRA_BIN_DIR, else the test program's own folder (the build
// puts every program into one).
inline std::filesystem::path binDir() {
    if (const char* dir = std::getenv("QUENDRA_BIN_DIR"); dir && *dir)
        return dir;
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
}

inline std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs `program` (from the programs' folder unless it is an absolute path) with `args`, in `cwd`,
// standard error and output captured into files (so neither is a terminal).
inline RunResult runTool(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& cwd) {
    const std::filesystem::path path =
        program.starts_with("/") ? std::filesystem::path(program) : binDir() / program;
    std::string cmd = "cd " + quoted(cwd.string()) + " && " + quoted(path.string());
    for (const std::string& a : args)
        cmd += " " + quoted(a);
    const auto out = cwd / ".stdout", err = cwd / ".stderr";
    cmd += " >" + quoted(out.string()) + " 2>" + quoted(err.string()) + " </dev/null";
    const int raw = std::system(cmd.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}

inline void writeBytes(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder under the system's temporary folder, removed again at the end.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quendra-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

} // namespace quendra::testing
