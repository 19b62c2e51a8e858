#include "core/catalogue.h"

#include <algorithm>
#include <iterator>

namespace velmaro {

namespace {

// Language masks as they occur in the price list.
constexpr std::uint32_t kDe = 3;          // Deutsch, English
constexpr std::uint32_t kDeFr = 7;        // + Francais
constexpr std::uint32_t kDeFrIt = 15;     // + Italiano
constexpr std::uint32_t kDeFrItSv = 79;   // + Italiano, Swedish
constexpr std::uint32_t kDeFrItEsSv = 95; // + Italiano, Espanol, Swedish
constexpr std::uint32_t kAll = 127;

// The seller's order, not alphabetical: a row's position is its index in the selection list.
// A trailing blank is part of the name and goes into the order lines with it.
constexpr Program kPrograms[] = {
    {"Qorvex", 38300, kDe},
    {"Lumo ", 10700, kDe},
    {"Tessaly", 49500, kDeFr},
    {"Brandle", 78000, kDeFrIt},
    {"Corvan", 24900, kDe},
    {"Dilmar", 15900, kDe},
    {"Espera", 29900, kDe},
    {"Fennic", 45000, kDe},
    {"Galvo ", 19900, kDe},
    {"Hathorn", 112000, kDeFrItSv},
    {"Ivrel", 34500, kDe},
    {"Jastro", 69000, kDeFrIt},
    {"Kelmin", 27500, kDe},
    {"Larkwave XT", 195000, kDe},
    {"Morvik", 148000, kDeFrItEsSv},
    {"Nandor", 21900, kDe},
    {"Ostrel ", 12900, kDe},
    {"Pimbry", 33900, kDe},
    {"Quillo", 41500, kDe},
    {"Rastane", 58000, kDe},
    {"Solvik", 63500, kDeFr},
    {"Tarrow", 18500, kDe},
    {"Umbrel", 26500, kDe},
    {"Vantor", 87500, kDe},
    {"Wexley ", 14900, kDe},
    {"Yarrin", 129000, kAll},
    {"Zolden", 39500, kDe},
    {"Ambrik", 22900, kDe},
    {"Belcrest", 54000, kDe},
    {"Cindral", 92000, kDeFrIt},
    {"Dovran", 31500, kDe},
    {"Elmsby", 17900, kDe},
    {"Fiorel ", 24500, kDe},
    {"Gantry 3D", 99000, kDe},
    {"Holmar", 36900, kDe},
    {"Irvane", 135000, kDeFrItSv},
    {"Jolvet", 28500, kDe},
    {"Kestrin", 47500, kDe},
    {"Lindor", 23500, kDe},
    {"Mavren ", 16900, kDe},
    {"Nolvik", 52500, kDe},
    {"Oxa", 11900, kDe},
    {"Pallast", 165000, kDeFrItEsSv},
    {"Quoret", 32500, kDe},
    {"Rillwick", 43500, kDe},
    {"Sander", 57500, kDeFr},
    {"Tolvane", 26900, kDe},
    {"Ursel ", 13900, kDe},
    {"Verimond", 74500, kDe},
    {"Wickam", 20900, kDe},
    {"Xandrel", 83000, kDeFrIt},
    {"Yelmont", 37500, kDe},
    {"Zephro", 29500, kDe},
    {"Arvel 2", 44900, kDe},
    {"Bostrane", 61500, kDe},
    {"Calvern", 25500, kDe},
    {"Drevin", 35900, kDe},
    {"Emvar ", 18900, kDe},
    {"Farrowby", 68500, kDe},
    {"Glenvik", 30500, kDe},
    {"Harrant", 118000, kDeFrItSv},
    {"Ilsmore", 42500, kDe},
    {"Jandrel", 27900, kDe},
    {"Korrin", 22500, kDe},
    {"Lovrane", 55500, kDe},
    {"Mirkel", 38900, kDe},
    {"Nessary", 96500, kDeFrIt},
    {"Ombrel", 33500, kDe},
    {"Pettrow", 46500, kDe},
    {"Quarvin", 71500, kDe},
    {"Rendal", 152000, kDeFrItEsSv},
    {"Sivrel", 24000, kDe},
    {"Tamsor", 39900, kDe},
};
static_assert(std::size(kPrograms) == 73);

constexpr Bundle kBundles[] = {
    {"Studio Starter Pack", 74100, 8000, 9000, kDeFrItSv, "BX1040"},
    {"Studio Office Pack", 129000, 12000, 13000, kDe, "BX1040"},
    {"Graphics Suite Basic", 198000, 19000, 22000, kDe, "BX2260"},
    {"Graphics Suite Complete", 345000, 34000, 38000, kDeFr, "BX2260"},
    {"Engineering Set Standard", 498000, 45000, 51000, kDe, "BX3381"},
    {"Engineering Set Professional", 875000, 76000, 84000, kDe, "BX3381"},
    {"Data Toolbox Small", 215000, 21000, 24000, kDe, "BX4402"},
    {"Data Toolbox Large", 560000, 52000, 59000, kDe, "BX4402"},
    {"Complete Catalogue Edition", 1495000, 120000, 130000, kDe, "BX5517"},
    {"Teaching Lab Edition", 640000, 58000, 65000, kDe, "BX5517"},
};
static_assert(std::size(kBundles) == 10);

// Quantity discounts in half percent, indexed by the number of licences 0..10. A single
// floating licence carries a surcharge: it serves several seats.
constexpr int kIndividualDiscount[11] = {0, 0, 50, 55, 60, 65, 70, 75, 80, 85, 90};
constexpr int kNetworkFloatingDiscount[11] = {-100, -100, -40, 0, 20, 30, 40, 50, 60, 70, 70};

} // namespace

std::span<const Program> Programs()
{
    return kPrograms;
}

std::span<const Bundle> Bundles()
{
    return kBundles;
}

std::vector<std::string> LanguageEntries(std::uint32_t mask)
{
    std::vector<std::string> entries;
    for (std::size_t bit = 0; bit < kLanguageNames.size(); ++bit) {
        if (mask & (1u << bit))
            entries.emplace_back(kLanguageNames[bit]);
    }
    return entries;
}

int DiscountHalfPercent(int licenceType, int number)
{
    const int index = std::clamp(number, 0, 10);
    switch (licenceType) {
    case kIndividual:
        return kIndividualDiscount[index];
    case kNetworkFloating:
        return kNetworkFloatingDiscount[index];
    default:
        // No licence type selected: no discount.
        return 0;
    }
}

Money FlatUpdatePrice(int kind)
{
    switch (kind) {
    case kUpdate:
        return Money::fromEuros(40);
    case kUpdateWin64:
        return Money::fromEuros(50);
    default:
        return Money();
    }
}

} // namespace velmaro
