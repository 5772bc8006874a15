#pragma once
// The range of every number the program stores, so that whatever is stored can also be shown, drawn and
// reported: the axis-bound checks of the charts accept every bound a build derives from data within it.

namespace zarnel {

// People counts of one scenario (fatalities, severe and light injuries): whole numbers 0..kMaxPeople.
// Sanitary losses are severe + light, so they reach 2 * kMaxPeople.
inline constexpr double kMaxPeople = 1000000;
inline constexpr double kMaxSanitary = 2 * kMaxPeople;
// Damage of one scenario, million roubles.
inline constexpr double kMaxDamage = 1e9;
// Frequency of a scenario, events per year: positive, and shown by the editor with an exponent of at most 50.
inline constexpr double kMinFrequency = 1e-50;
inline constexpr double kMaxFrequency = 1e6;

} // namespace zarnel
