#include "viewer/core/NumericEntry.h"

namespace kelto::viewer {

NumericEntry::Step NumericEntry::addDigit(int digit, bool cableBand) {
    number_ = count_ == 0 ? digit : number_ * 10 + digit;
    ++count_;
    const bool ended = count_ >= (cableBand ? 3 : 2);
    const Step step{number_, ended};
    if (ended) clear();
    return step;
}

void NumericEntry::clear() {
    count_ = 0;
    number_ = 0;
}

}  // namespace kelto::viewer
