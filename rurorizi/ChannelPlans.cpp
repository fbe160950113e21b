#include "rurorizi/ChannelPlans.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace kelto::rurorizi {

namespace {

// A run of consecutive channels whose dividers rise by a fixed step (0 for a single entry).
struct Run {
    int first;
    int last;
    std::uint16_t firstEntry;
    std::uint16_t step;
};

template <std::size_t Size>
constexpr std::array<std::uint16_t, Size> buildPlan(std::initializer_list<Run> runs) {
    std::array<std::uint16_t, Size> entries{};
    for (const Run& run : runs)
        for (int channel = run.first; channel <= run.last; ++channel)
            entries[std::size_t(channel)] = std::uint16_t(run.firstEntry + (channel - run.first) * run.step);
    return entries;
}

constexpr std::int32_t kOscillatorOffset = 0;
constexpr std::int32_t kVisionCarrierOffset = 622;  // 38.875 MHz in 1/16 MHz

std::array<std::uint16_t, 70> usBroadcast = buildPlan<70>({
    {2, 4, 1616, 96}, {5, 5, 1968, 0}, {6, 6, 2064, 0}, {7, 13, 3536, 96}, {14, 69, 8272, 96}});

std::array<std::uint16_t, 121> europeanBroadcast = buildPlan<121>({
    {1, 1, 724, 0}, {2, 4, 772, 112}, {5, 12, 2804, 112}, {13, 13, 860, 0}, {14, 14, 996, 0},
    {15, 15, 1316, 0}, {16, 16, 2804, 0}, {17, 20, 2932, 144}, {21, 69, 7540, 128}, {70, 72, 732, 128},
    {74, 76, 1108, 112}, {80, 89, 1684, 112}, {90, 99, 3700, 112}, {100, 120, 4852, 128}});

std::array<std::uint16_t, 126> usCable = buildPlan<126>({
    {1, 1, 1904, 0}, {2, 4, 1616, 96}, {5, 5, 1968, 0}, {6, 6, 2064, 0}, {7, 13, 3536, 96},
    {14, 22, 2672, 96}, {23, 94, 4208, 96}, {95, 99, 2192, 96}, {100, 125, 11120, 96}});

std::array<std::uint16_t, 56> europeanCableA = buildPlan<56>({
    {1, 6, 772, 112}, {7, 34, 1684, 112}, {35, 55, 4852, 128}});

std::array<std::uint16_t, 88> europeanCableB = buildPlan<88>({
    {1, 32, 756, 128}, {33, 38, 772, 112}, {39, 66, 1684, 112}, {67, 87, 4852, 128}});

template <std::size_t Size>
ChannelPlan planOf(std::array<std::uint16_t, Size>& entries, std::int32_t offset) {
    return ChannelPlan{entries, offset, std::int32_t(Size - 1)};
}

ChannelPlan plans[] = {
    planOf(usBroadcast, kOscillatorOffset),         planOf(europeanBroadcast, kVisionCarrierOffset),
    planOf(usCable, kOscillatorOffset),             planOf(europeanCableA, kVisionCarrierOffset),
    planOf(europeanCableB, kVisionCarrierOffset),
};

// Which countries use which plan.
constexpr std::uint32_t kUsBroadcastCountries[] = {1, 2, 52, 82};
constexpr std::uint32_t kEuropeanBroadcastCountries[] = {7,  30, 31, 32, 33, 34, 36, 39,  40,  41,  43,  44,  45,  46,  47,
                                                        48, 49, 55, 61, 64, 65, 90, 351, 353, 354, 358, 359, 420, 852};
constexpr std::uint32_t kUsCableCountries[] = {1, 82};
constexpr std::uint32_t kEuropeanCableACountries[] = {7,  30, 31, 32, 33, 34, 36, 39, 40,  41,  43,  45,  46,
                                                     47, 48, 49, 55, 61, 64, 65, 90, 351, 354, 358, 359, 420};
constexpr std::uint32_t kEuropeanCableBCountries[] = {44, 353, 852};

struct PlanChoice {
    PlanKind kind;
    std::span<const std::uint32_t> countries;
    PlanName plan;
};

constexpr PlanChoice kChoices[] = {
    {PlanKind::Broadcast, kUsBroadcastCountries, PlanName::UsBroadcast},
    {PlanKind::Broadcast, kEuropeanBroadcastCountries, PlanName::EuropeanBroadcast},
    {PlanKind::Cable, kUsCableCountries, PlanName::UsCable},
    {PlanKind::Cable, kEuropeanCableACountries, PlanName::EuropeanCableA},
    {PlanKind::Cable, kEuropeanCableBCountries, PlanName::EuropeanCableB},
};

}  // namespace

ChannelPlan& channelPlan(PlanName name) { return plans[static_cast<int>(name)]; }

ChannelPlan* planForCountry(int plan, std::uint32_t countryCode) {
    for (const PlanChoice& choice : kChoices)
        if (static_cast<int>(choice.kind) == plan &&
            std::find(choice.countries.begin(), choice.countries.end(), countryCode) != choice.countries.end())
            return &channelPlan(choice.plan);
    return nullptr;
}

}  // namespace kelto::rurorizi
