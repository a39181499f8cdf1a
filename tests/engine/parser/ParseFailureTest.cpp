#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "ParsedPage.h"

// This binary replaces the global allocator so a test can make the n-th allocation fail,
// which is how the record library fails in practice.
namespace {
std::atomic<long> allocationsBeforeFailure{-1};  // -1: never fail
}  // namespace

void* operator new(std::size_t size) {
    long left = allocationsBeforeFailure.load();
    while (left >= 0 && !allocationsBeforeFailure.compare_exchange_weak(left, left - 1)) {
    }
    if (left == 0) throw std::bad_alloc();  // fails once, then the counter sits at -1
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

TEST(ParseFailure, EveryFailedAllocationRaisesTheParseErrorAndNothingElse) {
    const std::string page = ResultsPage(LinkEntry("http://a/?x=1&amp;y=2") +
                                         LinkEntry("/relative") + LinkEntry("http://b/<b>c</b>"));
    const ParsedPage expected = Parse(page);
    ASSERT_EQ(expected.urls.size(), 2u);

    int failures = 0;
    for (long n = 0;; ++n) {
        allocationsBeforeFailure = n;
        try {
            const auto record = fetchcore::CGP().ParsePage(page);
            allocationsBeforeFailure = -1;
            // No failure was injected: n is past the parse's last allocation.
            EXPECT_EQ(record->Children().Count(), 2);
            break;
        } catch (const tessel::ComError& error) {
            allocationsBeforeFailure = -1;
            ++failures;
            EXPECT_EQ(error.Number(), -2147220855);
            EXPECT_EQ(static_cast<uint32_t>(error.Number()), 0x80040289u);
            EXPECT_EQ(error.Description(), "Cannot parse page. ");
            EXPECT_EQ(error.Source(), "");
        }
    }
    // The record, its two children and their values all allocate.
    EXPECT_GE(failures, 6);
}

}  // namespace
