#pragma once
// The five consequence kinds (column tabRisk.Id_por) and what belongs to each in the results window.

#include <array>

namespace zarnel {

enum ConsequenceKind : int {
    KindFatalities = 0,
    KindSevere = 1,
    KindLight = 2,
    KindDamage = 3,
    KindSanitary = 4, // sum of severe and light injuries of a scenario
};

inline constexpr int KindCount = 5;

// Sanitary losses come after the two injury kinds they are made of; damage comes last.
inline constexpr std::array<int, KindCount> ProcessingOrder{0, 1, 2, 4, 3};

struct KindInfo {
    int kind;
    int stepChart;    // chart number c1 of the F/n (F/g) chart, 1..10
    int polygonChart; // chart number c2 of the polygon
    int outerPage;    // page of the results window's outer tab strip
    bool isDamage;    // million roubles instead of people
    unsigned colour;  // 0xRRGGBB of the kind's lines and labels
};

constexpr KindInfo KindInfoOf(int kind)
{
    switch (kind) {
    case KindFatalities:
        return {0, 1, 2, 0, false, 0xFF0000};
    case KindSevere:
        return {1, 3, 4, 1, false, 0x0000FF};
    case KindLight:
        return {2, 5, 6, 2, false, 0x00C000};
    case KindSanitary:
        return {4, 7, 8, 3, false, 0xFF8000};
    default:
        return {3, 9, 10, 4, true, 0xC000C0};
    }
}

// Kind of a chart number 1..10.
constexpr int KindOfChart(int chart)
{
    constexpr std::array<int, 5> byPair{0, 1, 2, 4, 3};
    return byPair[(chart - 1) / 2];
}

// Kind shown on a page 0..4 of the outer tab strip.
constexpr int KindOfPage(int page)
{
    return page == 3 ? KindSanitary : page == 4 ? KindDamage : page;
}

} // namespace zarnel
