// Runs the built complex-demo as a user would, through pipes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

// Line 1 is the banner, whose wording is free; everything after it is fixed.
const char* const kAfterBanner =
    "\n"
    "3+4i * 3-4i = 25\n"
    "3+4i / 3-4i = -0.28+0.96i\n"
    "3+4i + 3-4i = 6\n"
    "3+4i - 3-4i = 8i\n"
    "3+4i != 3+4i : 0\n"
    "3+4i == 3+4i : 1\n"
    "\n"
    "arg(3.53553+3.53553i) = 0.785398 rad, 45 deg.\n"
    "mod(3-4i) = 5\n"
    "conj(5+8i) = 5-8i\n";

enum class Input { Pipe, Empty, Closed };

class Demo {
public:
    explicit Demo(Input input, std::vector<std::string> args = {}) {
        signal(SIGPIPE, SIG_IGN); // a program that ended early must fail the test, not kill it
        int out[2], in[2];
        // Close-on-exec, so that the program holds only its own ends of the pipes
        // and sees the end of input when we close ours.
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(in, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        if (input == Input::Closed) {
            posix_spawn_file_actions_addclose(&actions, 0);
        } else {
            posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        }
        std::vector<char*> argv{const_cast<char*>(CPLX_DEMO_PATH)};
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, CPLX_DEMO_PATH, &actions, nullptr, argv.data(), environ) != 0) {
            throw std::runtime_error("cannot start " CPLX_DEMO_PATH);
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(in[0]);
        out_ = out[0];
        in_ = in[1];
        if (input != Input::Pipe) close_input();
    }

    ~Demo() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
        close_input();
    }

    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    void type(const std::string& text) {
        ASSERT_EQ(write(in_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    void close_input() {
        if (in_ >= 0) close(in_);
        in_ = -1;
    }

    // Reads standard output until it holds `lines` lines or ends, or the time is up.
    std::string read_lines(std::size_t lines, std::chrono::seconds limit = std::chrono::seconds(20)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\n')) < lines) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{out_, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            char buf[512];
            const ssize_t n = read(out_, buf, sizeof buf);
            if (n <= 0) break;
            text_.append(buf, static_cast<std::size_t>(n));
        }
        return text_;
    }

    // The exit status once the program has ended, or -1 if it is still running after `limit`.
    int exit_status(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (std::chrono::steady_clock::now() >= deadline) return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

private:
    pid_t pid_ = -1;
    int out_ = -1, in_ = -1;
    bool exited_ = false;
    std::string text_;
};

std::string after_banner(const std::string& transcript) {
    const auto end = transcript.find('\n');
    return end == std::string::npos ? std::string() : transcript.substr(end + 1);
}

constexpr std::chrono::seconds kLongEnough(20);

} // namespace

TEST(Demo, PrintsTheTranscriptAndExitsAtTheEndOfInput) {
    const struct {
        Input input;
        std::vector<std::string> args;
    } runs[] = {
        {Input::Empty, {}},
        {Input::Closed, {}},
        {Input::Empty, {"--help", "-v", "x y"}},
    };
    for (const auto& run : runs) {
        Demo demo(run.input, run.args);
        const std::string transcript = demo.read_lines(100);
        EXPECT_EQ(demo.exit_status(kLongEnough), 0);
        const std::string banner = transcript.substr(0, transcript.find('\n'));
        EXPECT_NE(banner.find("Complex"), std::string::npos) << banner;
        EXPECT_NE(banner.back(), ' ');
        EXPECT_EQ(after_banner(transcript), kAfterBanner);
    }
}

TEST(Demo, WaitsForANonBlankCharacter) {
    Demo demo(Input::Pipe);
    // The whole transcript is out while the program waits.
    EXPECT_EQ(after_banner(demo.read_lines(12)), kAfterBanner);
    demo.type("\n   \n\t\n \n");
    EXPECT_EQ(demo.exit_status(std::chrono::milliseconds(300)), -1) << "blank input ended the wait";
    demo.type("  q\n");
    EXPECT_EQ(demo.exit_status(kLongEnough), 0);
    EXPECT_EQ(after_banner(demo.read_lines(100)), kAfterBanner); // and nothing more
}
