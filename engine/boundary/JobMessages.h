#pragma once

#include <cstdint>
#include <string>

#include "fetchcore/CSaver.h"
#include "tessel/Variant.h"

namespace fetchcore {

// The numbered messages a save job sends its saver. Each travels as an array of Variants;
// FromData converts the elements the saver's event needs and throws when one cannot be
// converted (an Empty element reads as "" or false).

template <int32_t Msg>
struct PageMessage {
    static constexpr int32_t kMsg = Msg;
    int32_t n = 0;  // the result number
    std::string url;

    tessel::VariantArray ToData() const {
        return tessel::VariantArray{n, url, tessel::Variant(), tessel::Variant()};
    }
    static PageMessage FromData(const tessel::VariantArray& data) {
        return {data(1).ToLong(), data(2).ToString()};
    }
};

using PageSkippedMsg = PageMessage<msg::kPageSkipped>;
using StartSavingPageMsg = PageMessage<msg::kStartSavingPage>;

struct SavingPageCompleteMsg {
    static constexpr int32_t kMsg = msg::kSavingPageComplete;
    std::string url;
    bool isSuccess = false;
    std::string errDescription;

    tessel::VariantArray ToData() const;
    static SavingPageCompleteMsg FromData(const tessel::VariantArray& data);
};

struct ResultListMsg {
    static constexpr int32_t kMsg = msg::kResultList;
    std::string list;  // every result URL followed by CR LF

    tessel::VariantArray ToData() const;
    static ResultListMsg FromData(const tessel::VariantArray& data);
};

struct WaitingMsg {
    static constexpr int32_t kMsg = msg::kWaiting;
    int32_t seconds = 0;
    std::string reason;

    tessel::VariantArray ToData() const;
    static WaitingMsg FromData(const tessel::VariantArray& data);
};

struct WarningMsg {
    static constexpr int32_t kMsg = msg::kWarning;
    std::string text;

    tessel::VariantArray ToData() const;
    static WarningMsg FromData(const tessel::VariantArray& data);
};

struct JobCompleteMsg {
    static constexpr int32_t kMsg = msg::kJobComplete;
    std::string jobId;
    bool isSuccess = false;
    int32_t errNumber = 0;
    std::string errDescription;  // sent only on failure

    tessel::VariantArray ToData() const;
    // The number is not read: Complete does not carry it, and a job's one Complete must not
    // be lost to a number that does not convert.
    static JobCompleteMsg FromData(const tessel::VariantArray& data);
};

}  // namespace fetchcore
