#pragma once
// A channel number typed digit by digit. On the broadcast band the entry ends with its second
// digit, on the cable band with its third; otherwise it ends when the entry timer expires.
namespace kelto::viewer {

class NumericEntry {
public:
    struct Step {
        int number = 0;     // the number typed so far
        bool ended = false; // the entry is complete with this digit
    };

    // Adds digit 0..9; cableBand allows a third digit.
    Step addDigit(int digit, bool cableBand);
    bool active() const { return count_ > 0; }
    int number() const { return number_; }
    void clear();

private:
    int count_ = 0;
    int number_ = 0;
};

}  // namespace kelto::viewer
