// quendra-convert: converts C64 pictures in batches. See usageText() in options.cpp.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "convert/convert.h"
#include "convert/options.h"
#include "decode/printable_name.h"

namespace {

using quendra::convert::Outcome;

// Messages on standard error; on a terminal also a progress bar on the last line,
// redrawn at most ten times a second and cleared before each message and at the end.
class StderrReporter : public quendra::convert::Reporter {
  public:
    StderrReporter(bool terminal, bool verbose) : terminal_(terminal), verbose_(verbose) {}
    ~StderrReporter() override { clearBar(); }

    void report(std::size_t, const Outcome& outcome) override {
        const bool fine = outcome.converted || outcome.skipped;
        if (fine && !verbose_)
            return;
        clearBar();
        std::fprintf(fine ? stdout : stderr, "%s\n", outcome.message.c_str());
        if (fine)
            std::fflush(stdout);
        if (terminal_ && done_ < total_)
            drawBar();
    }

    void progress(std::size_t done, std::size_t total) override {
        done_ = done;
        total_ = total;
        if (!terminal_)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (done < total && now - lastDraw_ < std::chrono::milliseconds(100))
            return;
        lastDraw_ = now;
        if (done < total)
            drawBar();
        else
            clearBar();
    }

  private:
    void drawBar() {
        constexpr std::size_t kWidth = 40;
        const std::size_t filled = total_ ? kWidth * done_ / total_ : 0;
        std::string bar(filled, '#');
        bar.resize(kWidth, '.');
        std::fprintf(stderr, "\r[%s] %zu/%zu", bar.c_str(), done_, total_);
        std::fflush(stderr);
        shown_ = true;
    }
    void clearBar() {
        if (!shown_)
            return;
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        shown_ = false;
    }

    bool terminal_;
    bool verbose_;
    bool shown_ = false;
    std::size_t done_ = 0, total_ = 0;
    std::chrono::steady_clock::time_point lastDraw_{};
};

} // namespace

int main(int argc, char** argv) {
    using namespace quendra::convert;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const Parsed parsed = parseArguments(arguments);
    auto usageError = [](const std::string& error) {
        // The message may hold a command-line argument: shown with its controls escaped.
        std::fprintf(stderr, "quendra-convert: %s\nTry 'quendra-convert --help'.\n",
                     quendra::printableName(error).c_str());
        return 2;
    };
    switch (parsed.action) {
    case Parsed::Action::Help:
        std::fputs(usageText().c_str(), stdout);
        return 0;
    case Parsed::Action::Version:
        std::fputs(versionText().c_str(), stdout);
        return 0;
    case Parsed::Action::ListFormats:
        std::fputs(formatListText().c_str(), stdout);
        return 0;
    case Parsed::Action::UsageError:
        return usageError(parsed.error);
    case Parsed::Action::Convert:
        break;
    }
    // -o naming a file: nothing could be written, so say it once.
    if (const std::string problem = outputDirProblem(parsed.options); !problem.empty())
        return usageError(problem);
    StderrReporter reporter(!parsed.options.quiet && ::isatty(STDERR_FILENO) == 1,
                            parsed.options.verbose);
    return runBatch(parsed.options, reporter);
}
