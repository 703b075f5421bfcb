#include "export/atomic_write.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quendra {

namespace fs = std::filesystem;

fs::path temporarySibling(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    fs::path tmp = target;
    tmp += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return tmp;
}

WriteResult writeFileAtomically(const fs::path& target, std::span<const std::uint8_t> bytes) {
    const fs::path tmp = temporarySibling(target);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return {false, std::strerror(errno)};
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const std::string why = std::strerror(errno);
            ::close(fd);
            ::unlink(tmp.c_str());
            return {false, why};
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(tmp.c_str());
        return {false, why};
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(tmp.c_str());
        return {false, why};
    }
    return {true, {}};
}

}  // namespace quendra
