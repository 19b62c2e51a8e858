#pragma once

#include "core/money.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// One single program of the price list. The name is listed and written into order lines as it
// stands, a trailing blank included.
struct Program {
    std::string_view name;
    std::int32_t netPriceCents;
    std::uint32_t languageMask; // only the low 7 bits mean anything (see kLanguageNames)
};

// One bundle of programs with its three prices and its package licence number.
struct Bundle {
    std::string_view name;
    std::int32_t newPriceCents;
    std::int32_t updatePriceCents;      // "Update (Win32/64)"
    std::int32_t updateWin64PriceCents; // "Update Win64"
    std::uint8_t languageMask;
    std::string_view packageLicenceNo;
};

// The price list, in the seller's order: a row's position is its index in the selection list.
std::span<const Program> Programs();
std::span<const Bundle> Bundles();

// Bit i of a language mask stands for kLanguageNames[i]; this is also the listing order.
inline constexpr std::array<std::string_view, 7> kLanguageNames = {
    "Deutsch", "English", "Francais", "Italiano", "Espanol", "Portugues", "Swedish"};

// The language entries of a mask, bit 0 first.
std::vector<std::string> LanguageEntries(std::uint32_t mask);

// Item kinds and licence types, as indexes of their selection lists.
enum ItemKind : int { kNewLicence = 0, kUpdate = 1, kUpdateWin64 = 2 };
enum LicenceType : int { kIndividual = 0, kNetworkFloating = 1 };

// The quantity discount in half percent (55 is 27.5 %) for a licence type and a number of
// licences; numbers above 10 take the entry for 10, numbers below 0 the entry for 0. A negative
// discount is a surcharge. Any other licence type (-1: none selected) gives 0.
int DiscountHalfPercent(int licenceType, int number);

// The price of one update of any single program: 40.00 for kUpdate, 50.00 for kUpdateWin64,
// 0 for any other kind.
Money FlatUpdatePrice(int kind);

} // namespace velmaro
