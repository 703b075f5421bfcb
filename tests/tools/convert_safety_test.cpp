// quendra-convert under an attacker's or an unlucky user's hands: killed in the middle of a
// batch, given names that would drive a terminal, given a file far too large, denied a folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "samples/c64_files.h"
#include "tool_runner.h"

namespace quendra::convert {
namespace {

namespace fs = std::filesystem;
using quendra::testing::binDir;
using quendra::testing::runTool;
using quendra::testing::slurp;
using quendra::testing::TempDir;
using quendra::testing::writeBytes;

std::vector<std::string> temporariesIn(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".tmp-") != std::string::npos)
            found.push_back(name);
    }
    return found;
}

// Starts quendra-convert with `args` in `cwd`, its output thrown away and its messages
// written to `messages`; returns its process id.
pid_t startConverter(const fs::path& cwd, const std::vector<std::string>& args, int messages) {
    const std::string program = (binDir() / "quendra-convert").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 1);
        ::dup2(messages, 2);
        if (::chdir(cwd.c_str()) == 0)
            ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

// A pipe that nobody reads, full to the brim: a converter writing a message to it waits
// there until it is killed.
struct FullPipe {
    int ends[2] = {-1, -1};
    FullPipe() {
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return;
        ::fcntl(ends[1], F_SETPIPE_SZ, 4096);
        ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
        const char byte = 0;
        while (::write(ends[1], &byte, 1) == 1) {
        }
        ::fcntl(ends[1], F_SETFL, 0);
    }
    ~FullPipe() {
        ::close(ends[0]);
        ::close(ends[1]);
    }
    int writeEnd() const { return ends[1]; }
};

// Waits until a file named `name` is renamed into `folder` (watched from before by
// `watch`, an inotify descriptor) or the process `pid` ends; whether the file came.
bool waitForRename(int watch, const std::string& name, pid_t pid) {
    const int process = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    bool came = false;
    while (!came) {
        pollfd both[] = {{watch, POLLIN, 0}, {process, POLLIN, 0}};
        if (::poll(both, process >= 0 ? 2 : 1, -1) < 0 || (both[1].revents & POLLIN))
            break;
        alignas(inotify_event) char events[4096];
        const ssize_t got = ::read(watch, events, sizeof events);
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            came = came || (event->len > 0 && name == event->name);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    if (process >= 0)
        ::close(process);
    return came;
}

TEST(ConvertKilled, AForcedBatchKilledMidwayLeavesNoTemporaryBehind) {
    TempDir dir;
    const auto picture = samples::makeKoala(samples::testPattern(5));
    constexpr int kFiles = 300;
    std::vector<std::string> args{"--force", "-j", "2"};
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "p" + std::to_string(i);
        writeBytes(dir / (name + ".koa"), picture);
        args.push_back(name + ".koa");
    }
    // The last file is refused: the converter's message about it waits on a full pipe, so
    // the batch cannot end before it is killed.
    writeBytes(dir / "refused.koa", {1, 2, 3});
    args.push_back("refused.koa");
    // The whole picture as the converter writes it, to tell finished outputs from others.
    ASSERT_EQ(runTool("quendra-convert", {"p0.koa"}, dir.path()).status, 0);
    const std::string finished = slurp(dir / "p0.png");

    for (int i = 0; i < kFiles; ++i)
        writeBytes(dir / ("p" + std::to_string(i) + ".png"), {'o', 'l', 'd'});
    const FullPipe messages;
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, dir.path().c_str(), IN_MOVED_TO), 0);
    const pid_t pid = startConverter(dir.path(), args, messages.writeEnd());
    ASSERT_GT(pid, 0);
    // Killed once a tenth of the batch has been written.
    const bool written = waitForRename(watch, "p" + std::to_string(kFiles / 10) + ".png", pid);
    ::close(watch);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(written);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    const pid_t deadConverter = pid;
    // Every output is the old file or the finished one, never a part.
    for (int i = 0; i < kFiles; ++i) {
        const std::string bytes = slurp(dir / ("p" + std::to_string(i) + ".png"));
        EXPECT_TRUE(bytes == "old" || bytes == finished) << i;
    }
    EXPECT_EQ(slurp(dir / ("p" + std::to_string(kFiles / 10) + ".png")), finished);

    // What a killed converter could have left between naming and renaming, and what is
    // not the converter's to remove: another program's file, and one of a running process.
    const std::string dead = std::to_string(deadConverter);
    const std::string running = std::to_string(::getpid());
    writeBytes(dir / ("p1.png.tmp-" + dead + "-9"), {1});
    writeBytes(dir / ("notes.txt.tmp-" + dead + "-1"), {1});
    writeBytes(dir / ("p2.png.tmp-" + running + "-3"), {1});
    // The next run clears its own kind of leftovers as it starts.
    ASSERT_EQ(runTool("quendra-convert", {"--force", "p0.koa"}, dir.path()).status, 0);
    std::vector<std::string> left = temporariesIn(dir.path());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"notes.txt.tmp-" + dead + "-1",
                                              "p2.png.tmp-" + running + "-3"}));
}

TEST(ConvertMessages, FileNamesAreShownWithTheirControlCharactersEscaped) {
    TempDir dir;
    writeBytes(dir / "\x1b]0;owned\x07\x1b[2J\nbad.koa", {1, 2, 3, 4, 5});
    writeBytes(dir / "M\xfcller.koa", {1});
    writeBytes(dir / "tab\there.koa", samples::makeKoala(samples::testPattern(1)));
    writeBytes(dir / "tab\there.png", {1});
    const auto r = runTool("quendra-convert",
                           {"\x1b]0;owned\x07\x1b[2J\nbad.koa", "M\xfcller.koa", "tab\there.koa",
                            "--to", "gif\x1b[2J"},
                           dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "quendra-convert: --to gif\\x1b[2J: not one of png, gif, bmp, pcx, tif, jpg, "
                     "4bt, koa, gg, ocp, art, dd, jj, ami, hbm, fli, afl, prg\nTry 'quendra-convert "
                     "--help'.\n");
    const auto run =
        runTool("quendra-convert",
                {"\x1b]0;owned\x07\x1b[2J\nbad.koa", "M\xfcller.koa", "tab\there.koa"}, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "\\x1b]0;owned\\x07\\x1b[2J\\nbad.koa: rejected: not a C64 picture (5 bytes; no "
              "format takes this length or signature); as Koala Painter: a Koala picture is "
              "10003 or 10006 bytes long, this one has 5\n"
              "M\\xfcller.koa: rejected: not a C64 picture (1 bytes; no format takes this "
              "length or signature); as Koala Painter: a Koala picture is 10003 or 10006 bytes "
              "long, this one has 1\n"
              "tab\\there.koa: tab\\there.png exists; --force replaces it\n");
}

TEST(ConvertMessages, AFileFarTooLargeIsNamedByItsOwnSize) {
    TempDir dir;
    { std::ofstream sparse(dir / "big.koa", std::ios::binary); }
    fs::resize_file(dir / "big.koa", std::uint64_t{1} << 31); // a hole: no disk space used
    const auto r = runTool("quendra-convert", {"big.koa"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "big.koa: rejected: not a C64 picture (2147483648 bytes; no format takes "
                     "this length or signature); as Koala Painter: a Koala picture is 10003 or "
                     "10006 bytes long, this one has 2147483648\n");
}

// A folder nothing may be made in: without write permission, and for the superuser (who
// may write anywhere) also marked immutable where the file system allows it.
class LockedFolder {
  public:
    explicit LockedFolder(fs::path path) : path_(std::move(path)) {
        fs::create_directories(path_);
        ::chmod(path_.c_str(), 0555);
        if (::geteuid() == 0)
            setImmutable(true);
    }
    ~LockedFolder() {
        if (immutable_)
            setImmutable(false);
        ::chmod(path_.c_str(), 0755);
    }
    // The errno of making a folder in it, 0 when that works after all.
    int makeError() const {
        const fs::path probe = path_ / "probe";
        if (::mkdir(probe.c_str(), 0755) == 0) {
            ::rmdir(probe.c_str());
            return 0;
        }
        return errno;
    }

  private:
    void setImmutable(bool on) {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            immutable_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0 && on;
        }
        if (fd >= 0)
            ::close(fd);
    }
    fs::path path_;
    bool immutable_ = false;
};

TEST(ConvertMessages, AnOutputFolderThatCannotBeMadeNamesTheReason) {
    TempDir dir;
    writeBytes(dir / "pic.koa", samples::makeKoala(samples::testPattern(2)));
    const LockedFolder locked(dir / "locked");
    const int error = locked.makeError();
    if (error == 0)
        GTEST_SKIP() << "this user may make folders anywhere";
    const auto r = runTool("quendra-convert", {"-o", "locked/sub", "pic.koa"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "pic.koa: cannot write locked/sub/pic.png: cannot make the folder "
                     "locked/sub: " +
                         std::string(std::strerror(error)) + "\n");
}

} // namespace
} // namespace quendra::convert
