// ShellExecuteA: the headless record, the checks, and the real opener's
// argument vector and detached start.
#include "platform/core/shell_open.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/platform/recording_window.h"

namespace platform_test {
namespace {

using ShellOpenTest = LayerTest;

TEST_F(ShellOpenTest, HeadlessShellExecuteRecordsTheCallAndStartsNothing) {
    HWND owner = TopLevel(0, 0, 10, 10, WS_POPUP);
    HINSTANCE result = ShellExecuteA(owner, "open", "http://example.com/a b", nullptr, "/tmp", SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<uintptr_t>(result), 32u);
    ASSERT_EQ(headless::ShellExecuteCalls().size(), 1u);
    const headless::ShellExecuteCall& call = headless::ShellExecuteCalls()[0];
    EXPECT_EQ(call.owner, owner);
    EXPECT_EQ(call.verb, "open");
    EXPECT_EQ(call.file, "http://example.com/a b");
    EXPECT_FALSE(call.parameters.has_value());
    EXPECT_EQ(call.directory, "/tmp");
    EXPECT_EQ(call.show, SW_SHOWNORMAL);
}

TEST_F(ShellOpenTest, CallsThatCannotOpenAnythingFailWithTheirErrors) {
    struct Case {
        const char* verb;
        const char* file;
        int expected;  // 0: success
    };
    const Case cases[] = {{"open", "http://x", 0},  {"OPEN", "http://x", 0},
                          {nullptr, "http://x", 0}, {"print", "http://x", SE_ERR_NOASSOC},
                          {"open", "", SE_ERR_FNF}, {"open", nullptr, SE_ERR_FNF}};
    for (const Case& c : cases) {
        EXPECT_EQ(layer::CheckShellOpen(c.verb, c.file), c.expected) << (c.verb ? c.verb : "null");
        auto result =
            reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, c.verb, c.file, nullptr, nullptr, SW_SHOWNORMAL));
        if (c.expected == 0) {
            EXPECT_GT(result, 32u);
        } else {
            EXPECT_EQ(result, static_cast<uintptr_t>(c.expected));
        }
    }
    EXPECT_EQ(headless::ShellExecuteCalls().size(), std::size(cases));
}

TEST(OpenerArgvTest, TheTargetIsOneArgumentThatCannotPassForAnOption) {
    EXPECT_EQ(layer::OpenerArgv("http://example.com/?a=1&b=2;rm -rf $HOME"),
              (std::vector<std::string>{"xdg-open", "http://example.com/?a=1&b=2;rm -rf $HOME"}));
    EXPECT_EQ(layer::OpenerArgv("my file.html"), (std::vector<std::string>{"xdg-open", "my file.html"}));
    EXPECT_EQ(layer::OpenerArgv("--help"), (std::vector<std::string>{"xdg-open", "./--help"}));
}

bool HasChildren() {
    // waitpid fails with ECHILD when this process has no child left, zombies included.
    return waitpid(-1, nullptr, WNOHANG) != -1 || errno != ECHILD;
}

TEST(SpawnDetachedTest, StartsAProgramWithoutWaitingAndLeavesNoChild) {
    ASSERT_FALSE(HasChildren());
    EXPECT_TRUE(layer::SpawnDetached({"true"}));
    EXPECT_FALSE(HasChildren());
}

TEST(SpawnDetachedTest, AProgramThatCannotStartIsReported) {
    EXPECT_FALSE(layer::SpawnDetached({"ostrel-no-such-program-anywhere"}));
    EXPECT_FALSE(layer::SpawnDetached({"/nonexistent/folder/program"}));
    EXPECT_FALSE(layer::SpawnDetached({}));
    EXPECT_FALSE(layer::SpawnDetached({""}));
    EXPECT_FALSE(HasChildren());
}

// A stand-in xdg-open, found first on PATH, writes its argument count and
// arguments into a FIFO that the test reads.
class FakeOpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ostrel-opener-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        fifo = folder + "/report";
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        std::string script = folder + "/xdg-open";
        FILE* file = std::fopen(script.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fprintf(file, "#!/bin/sh\nprintf '%%s|' \"$#\" \"$@\" > '%s'\n", fifo.c_str());
        std::fclose(file);
        chmod(script.c_str(), 0700);
        const char* path = std::getenv("PATH");
        savedPath = path != nullptr ? path : "";
        setenv("PATH", (folder + ":" + savedPath).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", savedPath.c_str(), 1);
        unlink((folder + "/xdg-open").c_str());
        unlink(fifo.c_str());
        rmdir(folder.c_str());
    }
    // What the opener wrote, waiting at most 10 s of real time for it.
    std::string ReadReport() {
        int fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        std::string text;
        char buffer[256];
        for (int rounds = 0; fd >= 0 && rounds < 100; ++rounds) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) {
                continue;
            }
            ssize_t got = read(fd, buffer, sizeof buffer);
            if (got > 0) {
                text.append(buffer, static_cast<size_t>(got));
            } else if (got == 0 && !text.empty()) {
                break;  // the writer is done
            }
        }
        if (fd >= 0) {
            close(fd);
        }
        return text;
    }

    std::string folder;
    std::string fifo;
    std::string savedPath;
};

TEST_F(FakeOpenerTest, TheOpenerGetsTheTargetAsExactlyOneArgument) {
    const char* target = "http://example.com/a b?x=1&y='2' $(true)";
    HINSTANCE result = layer::OpenDocument("open", target);
    EXPECT_GT(reinterpret_cast<uintptr_t>(result), 32u);
    EXPECT_EQ(ReadReport(), std::string("1|") + target + "|");
}

TEST_F(FakeOpenerTest, WithoutAnOpenerTheCallFails) {
    setenv("PATH", "/nonexistent", 1);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(layer::OpenDocument("open", "http://x")),
              static_cast<uintptr_t>(SE_ERR_NOASSOC));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(layer::OpenDocument("edit", "http://x")),
              static_cast<uintptr_t>(SE_ERR_NOASSOC));
}

}  // namespace
}  // namespace platform_test
