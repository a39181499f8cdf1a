#include "tessel/FileDescriptor.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <string>
#include <thread>

namespace {

using tessel::FileDescriptor;

struct Pipe {
    FileDescriptor reader;
    FileDescriptor writer;
    Pipe() {
        std::array<int, 2> fds{};
        if (::pipe(fds.data()) != 0) throw std::runtime_error("pipe");
        reader = FileDescriptor(fds[0]);
        writer = FileDescriptor(fds[1]);
    }
};

// A pipe's write end reports an error once nobody holds its read end any more.
bool ReaderClosed(const FileDescriptor& writer) {
    pollfd p{writer.Get(), POLLOUT, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLERR) != 0;
}

TEST(FileDescriptorTest, AMoveHandsTheDescriptorOverAndOnlyTheLastOwnerClosesIt) {
    Pipe pipe;
    {
        FileDescriptor moved(std::move(pipe.reader));
        EXPECT_FALSE(pipe.reader);
        FileDescriptor assigned;
        assigned = std::move(moved);
        EXPECT_FALSE(moved);
        EXPECT_FALSE(ReaderClosed(pipe.writer));
    }
    EXPECT_TRUE(ReaderClosed(pipe.writer));
}

TEST(FileDescriptorTest, MoveAssignmentClosesWhatTheTargetHeldAndReleaseClosesNothing) {
    Pipe first;
    Pipe second;
    first.reader = std::move(second.reader);
    EXPECT_TRUE(ReaderClosed(first.writer));
    EXPECT_FALSE(ReaderClosed(second.writer));

    const int raw = first.reader.Release();
    first.reader = FileDescriptor();
    EXPECT_FALSE(ReaderClosed(second.writer));
    ::close(raw);
    EXPECT_TRUE(ReaderClosed(second.writer));
}

TEST(FileDescriptorTest, OnlyAnInterruptedCallIsRepeated) {
    int calls = 0;
    const auto interruptedTwice = [&] {
        errno = ++calls <= 2 ? EINTR : 0;
        return calls <= 2 ? -1 : 5;
    };
    EXPECT_EQ(tessel::RetryOnInterrupt(interruptedTwice), 5);
    EXPECT_EQ(calls, 3);

    calls = 0;
    const auto wouldBlock = [&] {
        ++calls;
        errno = EAGAIN;
        return -1;
    };
    EXPECT_EQ(tessel::RetryOnInterrupt(wouldBlock), -1);
    EXPECT_EQ(calls, 1);
}

TEST(FileDescriptorTest, WriteAllDeliversEveryByteWhileSignalsInterruptIt) {
    // No SA_RESTART: a blocked write comes back early, short or with EINTR.
    struct sigaction quiet {};
    quiet.sa_handler = [](int) {};
    struct sigaction previous {};
    ASSERT_EQ(::sigaction(SIGUSR1, &quiet, &previous), 0);

    Pipe pipe;
    std::string sent(1 << 20, '\0');
    for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i * 7 % 251);
    int result = -1;
    std::thread writer([&] { result = tessel::WriteAll(pipe.writer.Get(), sent); });

    std::string received;
    std::array<char, 4096> chunk{};
    while (received.size() < sent.size()) {
        ::pthread_kill(writer.native_handle(), SIGUSR1);  // mostly while it waits for room
        const ssize_t n = tessel::ReadSome(pipe.reader.Get(), chunk.data(), chunk.size());
        ASSERT_GT(n, 0);
        received.append(chunk.data(), static_cast<std::size_t>(n));
    }
    writer.join();
    ::sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(received == sent);
}

TEST(FileDescriptorTest, AWriteThatCannotGoOnReportsItsError) {
    Pipe pipe;
    pipe.reader.Close();
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previous {};
    ASSERT_EQ(::sigaction(SIGPIPE, &ignore, &previous), 0);
    EXPECT_EQ(tessel::WriteAll(pipe.writer.Get(), "lost"), EPIPE);
    ::sigaction(SIGPIPE, &previous, nullptr);
}

}  // namespace
