// Cross-thread message delivery: throughput, and the latency from Send to MsgArrived when
// the owner pumps every millisecond as the components' wait loops do.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "tessel/Messanger.h"
#include "tessel/Toolbox.h"

namespace {

using Clock = std::chrono::steady_clock;

double NowMicros() {
    return std::chrono::duration<double, std::micro>(Clock::now().time_since_epoch()).count();
}

struct Counter : tessel::MessangerEvents {
    int64_t received = 0;
    std::vector<double> latencies;
    void MsgArrived(int32_t, const tessel::VariantArray& data, const std::string&,
                    const std::string&) override {
        ++received;
        if (data.Count() > 0) latencies.push_back(NowMicros() - data(1).ToDouble());
    }
};

void BM_Throughput(benchmark::State& state) {
    const int senders = static_cast<int>(state.range(0));
    constexpr int kPerSender = 20000;
    for (auto _ : state) {
        auto m = std::make_shared<tessel::Messanger>();
        Counter counter;
        auto c = m->Connect(counter);
        std::vector<std::thread> threads;
        for (int s = 0; s < senders; ++s) {
            threads.emplace_back([m] {
                for (int32_t i = 0; i < kPerSender; ++i) m->Send(0, tessel::VariantArray{});
            });
        }
        while (counter.received < int64_t{senders} * kPerSender)
            tessel::Toolbox::PumpMessagesFor(std::chrono::milliseconds(1));
        for (auto& t : threads) t.join();
    }
    state.SetItemsProcessed(state.iterations() * senders * kPerSender);
}
BENCHMARK(BM_Throughput)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

// Sends `messages` timestamped messages, one every `gap`, while the owner waits between
// pumps with `ownerWait`; reports the latency percentiles.
template <class OwnerWait>
void MeasureLatency(benchmark::State& state, int messages, std::chrono::microseconds gap,
                    OwnerWait ownerWait) {
    std::vector<double> all;
    for (auto _ : state) {
        auto m = std::make_shared<tessel::Messanger>();
        Counter counter;
        auto c = m->Connect(counter);
        std::thread sender([m, messages, gap] {
            for (int i = 0; i < messages; ++i) {
                m->Send(0, tessel::VariantArray{NowMicros()});
                std::this_thread::sleep_for(gap);
            }
        });
        while (counter.received < messages) ownerWait();
        sender.join();
        all.insert(all.end(), counter.latencies.begin(), counter.latencies.end());
    }
    std::sort(all.begin(), all.end());
    state.counters["p50_us"] = all[all.size() / 2];
    state.counters["p99_us"] = all[all.size() * 99 / 100];
    state.counters["max_us"] = all.back();
}

// As the components' wait loops do: pump, then sleep 1 ms.
void BM_LatencyPumpEveryMillisecond(benchmark::State& state) {
    MeasureLatency(state, 500, std::chrono::microseconds(700), [] {
        tessel::Toolbox::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
}
BENCHMARK(BM_LatencyPumpEveryMillisecond)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// An owner that waits for messages instead of sleeping.
void BM_LatencyWaitingPump(benchmark::State& state) {
    MeasureLatency(state, 2000, std::chrono::microseconds(100),
                   [] { tessel::Toolbox::PumpMessagesFor(std::chrono::milliseconds(1)); });
}
BENCHMARK(BM_LatencyWaitingPump)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
