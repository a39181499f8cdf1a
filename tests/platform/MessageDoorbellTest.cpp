#include <gtest/gtest.h>

#include <thread>

#include "Readable.h"
#include "platform/MessageDoorbell.h"
#include "tessel/MessageQueue.h"

using kestest::Readable;
using tessel::MessageQueue;

TEST(MessageDoorbell, APostFromAnotherThreadRingsItUntilCleared) {
    platform::MessageDoorbell bell;
    auto queue = MessageQueue::Current();
    EXPECT_FALSE(Readable(bell.Descriptor()));
    std::thread poster([queue] { queue->Post([] {}); });
    EXPECT_TRUE(kestest::SleepUntilReadable(bell.Descriptor()));
    poster.join();
    bell.Clear();
    EXPECT_FALSE(Readable(bell.Descriptor()));
    EXPECT_EQ(queue->Pump(), 1);
}

TEST(MessageDoorbell, MessagesPostedBeforeItExistedRingAtOnce) {
    auto queue = MessageQueue::Current();
    queue->Post([] {});
    platform::MessageDoorbell bell;
    EXPECT_TRUE(Readable(bell.Descriptor()));
    EXPECT_EQ(queue->Pump(), 1);
}
