#include "boundary/JobMessages.h"

namespace fetchcore {

using tessel::Variant;
using tessel::VariantArray;

VariantArray SavingPageCompleteMsg::ToData() const {
    return VariantArray{url, isSuccess, errDescription, Variant(), Variant()};
}

SavingPageCompleteMsg SavingPageCompleteMsg::FromData(const VariantArray& data) {
    return {data(1).ToString(), data(2).ToBool(), data(3).ToString()};
}

VariantArray ResultListMsg::ToData() const {
    return VariantArray{list, Variant(), Variant(), Variant()};
}

ResultListMsg ResultListMsg::FromData(const VariantArray& data) {
    return {data(1).ToString()};
}

VariantArray WaitingMsg::ToData() const {
    return VariantArray{seconds, reason, Variant(), Variant()};
}

WaitingMsg WaitingMsg::FromData(const VariantArray& data) {
    return {data(1).ToLong(), data(2).ToString()};
}

VariantArray WarningMsg::ToData() const {
    return VariantArray{text, Variant(), Variant(), Variant()};
}

WarningMsg WarningMsg::FromData(const VariantArray& data) {
    return {data(1).ToString()};
}

VariantArray JobCompleteMsg::ToData() const {
    return VariantArray{jobId, isSuccess, errNumber,
                        isSuccess ? Variant() : Variant(errDescription)};
}

JobCompleteMsg JobCompleteMsg::FromData(const VariantArray& data) {
    JobCompleteMsg message;
    message.jobId = data(1).ToString();
    message.isSuccess = data(2).ToBool();
    message.errDescription = data(4).ToString();
    return message;
}

}  // namespace fetchcore
