// SPDX-License-Identifier: MIT
// Runs the built complex-demo as a user would, through pipes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <string>
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

constexpr int kPatience = 20000; // ms; generous, for the sanitizer builds

enum class Input { Pipe, Empty, Closed };

class Demo {
public:
    explicit Demo(Input input, std::vector<std::string> args = {}) {
        std::signal(SIGPIPE, SIG_IGN); // a program that ended early fails the test instead of killing it
        int out[2], in[2];
        // Close-on-exec, so the program holds only its own ends and sees the end of input when we close ours.
        EXPECT_EQ(pipe2(out, O_CLOEXEC) | pipe2(in, O_CLOEXEC), 0);
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
        EXPECT_EQ(posix_spawn(&pid_, CPLX_DEMO_PATH, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(in[0]);
        out_ = out[0];
        in_ = in[1];
        if (input != Input::Pipe) close_input();
    }

    ~Demo() {
        if (exit_status(0) == -1) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
        close_input();
    }

    void type(const std::string& text) { EXPECT_EQ(write(in_, text.data(), text.size()), ssize_t(text.size())); }

    void close_input() {
        if (in_ >= 0) close(in_);
        in_ = -1;
    }

    // Standard output so far, read until it holds `lines` lines, ends, or nothing comes for a while.
    std::string read_lines(long lines) {
        pollfd p{out_, POLLIN, 0};
        while (std::count(text_.begin(), text_.end(), '\n') < lines && poll(&p, 1, kPatience) > 0) {
            char buf[512];
            const ssize_t n = read(out_, buf, sizeof buf);
            if (n <= 0) break;
            text_.append(buf, size_t(n));
        }
        return text_.substr(text_.find('\n') + 1);
    }

    std::string banner() const { return text_.substr(0, text_.find('\n')); }

    // The exit status, or -1 while the program is still running `ms` milliseconds from now.
    int exit_status(int ms) {
        if (pid_ <= 0) return 127; // never started
        for (int waited = 0; status_ == -1; waited += 10) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            } else if (waited >= ms) {
                break;
            } else {
                usleep(10000);
            }
        }
        return status_;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1, in_ = -1, status_ = -1;
    std::string text_;
};

} // namespace

TEST(Demo, PrintsTheTranscriptAndExitsAtTheEndOfInput) {
    for (const Input input : {Input::Empty, Input::Closed}) {
        for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"--help", "-v", "x y"}}) {
            Demo demo(input, args);
            EXPECT_EQ(demo.read_lines(1000), kAfterBanner);
            EXPECT_EQ(demo.exit_status(kPatience), 0);
            EXPECT_NE(demo.banner().find("Complex"), std::string::npos) << demo.banner();
            EXPECT_NE(demo.banner().back(), ' ');
        }
    }
}

TEST(Demo, WaitsForANonBlankCharacter) {
    Demo demo(Input::Pipe);
    EXPECT_EQ(demo.read_lines(12), kAfterBanner); // all of it is out while the program waits
    demo.type("\n   \n\t\n \n");
    EXPECT_EQ(demo.exit_status(300), -1) << "blank input ended the wait";
    demo.type("  q\n");
    EXPECT_EQ(demo.exit_status(kPatience), 0);
    EXPECT_EQ(demo.read_lines(1000), kAfterBanner); // and nothing more came
}
