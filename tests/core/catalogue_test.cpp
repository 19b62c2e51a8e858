#include "core/catalogue.h"

#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmaro {
namespace {

bool IsWholeEuros(std::int32_t cents)
{
    return cents % 100 == 0;
}

// Names go verbatim into order lines: plain ASCII letters, digits and blanks only.
bool IsPlainName(std::string_view name)
{
    for (char c : name) {
        const bool ok =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ';
        if (!ok)
            return false;
    }
    return !name.empty() && name.front() != ' ';
}

TEST(CatalogueData, ProgramRows)
{
    const auto programs = Programs();
    ASSERT_EQ(programs.size(), 73u);

    std::set<std::string_view> names;
    int trailingBlanks = 0;
    std::map<std::uint32_t, int> maskCounts;
    for (const Program& p : programs) {
        SCOPED_TRACE(std::string(p.name));
        EXPECT_TRUE(IsPlainName(p.name));
        EXPECT_GE(p.name.size(), 3u);
        EXPECT_LE(p.name.size(), 11u);
        EXPECT_TRUE(names.insert(p.name).second) << "duplicate name";
        if (p.name.back() == ' ')
            ++trailingBlanks;
        EXPECT_GE(p.netPriceCents, 10700);
        EXPECT_LE(p.netPriceCents, 195000);
        EXPECT_TRUE(IsWholeEuros(p.netPriceCents));
        ++maskCounts[p.languageMask];
    }
    EXPECT_EQ(trailingBlanks, 8);
    const std::map<std::uint32_t, int> expected = {{3, 58}, {7, 3},  {15, 5},
                                                   {79, 3}, {95, 3}, {127, 1}};
    EXPECT_EQ(maskCounts, expected);
}

TEST(CatalogueData, BundleRows)
{
    const auto bundles = Bundles();
    ASSERT_EQ(bundles.size(), 10u);

    std::set<std::string_view> names;
    std::set<std::string_view> packageNumbers;
    std::map<std::uint32_t, int> maskCounts;
    for (const Bundle& b : bundles) {
        SCOPED_TRACE(std::string(b.name));
        EXPECT_TRUE(IsPlainName(b.name));
        EXPECT_GE(b.name.size(), 15u);
        EXPECT_LE(b.name.size(), 29u);
        EXPECT_TRUE(names.insert(b.name).second) << "duplicate name";

        EXPECT_GE(b.newPriceCents, 74100);
        EXPECT_LE(b.newPriceCents, 1495000);
        EXPECT_GE(b.updatePriceCents, 8000);
        EXPECT_LE(b.updatePriceCents, 120000);
        EXPECT_GE(b.updateWin64PriceCents, 9000);
        EXPECT_LE(b.updateWin64PriceCents, 130000);
        EXPECT_TRUE(IsWholeEuros(b.newPriceCents));
        EXPECT_TRUE(IsWholeEuros(b.updatePriceCents));
        EXPECT_TRUE(IsWholeEuros(b.updateWin64PriceCents));
        EXPECT_GT(b.updateWin64PriceCents, b.updatePriceCents);

        EXPECT_GE(b.packageLicenceNo.size(), 4u);
        EXPECT_LE(b.packageLicenceNo.size(), 6u);
        EXPECT_TRUE(IsPlainName(b.packageLicenceNo));
        packageNumbers.insert(b.packageLicenceNo);
        ++maskCounts[b.languageMask];
    }
    EXPECT_EQ(packageNumbers.size(), 5u);
    const std::map<std::uint32_t, int> expected = {{3, 8}, {7, 1}, {79, 1}};
    EXPECT_EQ(maskCounts, expected);
}

// The selection row refills the language list assuming these two always lead it.
TEST(CatalogueData, EveryItemListsDeutschAndEnglishFirst)
{
    std::vector<std::uint32_t> masks;
    for (const Program& p : Programs())
        masks.push_back(p.languageMask);
    for (const Bundle& b : Bundles())
        masks.push_back(b.languageMask);
    for (std::uint32_t mask : masks) {
        const auto entries = LanguageEntries(mask);
        ASSERT_GE(entries.size(), 2u) << "mask " << mask;
        EXPECT_EQ(entries[0], "Deutsch") << "mask " << mask;
        EXPECT_EQ(entries[1], "English") << "mask " << mask;
    }
}

// Window tests pick these rows by position.
TEST(CatalogueData, FixedRows)
{
    const auto programs = Programs();
    const auto bundles = Bundles();
    EXPECT_EQ(programs[0].netPriceCents, 38300);
    EXPECT_EQ(programs[0].languageMask, 3u);
    EXPECT_EQ(programs[1].name.back(), ' ');
    EXPECT_EQ(programs[2].languageMask, 7u);
    EXPECT_EQ(programs[3].languageMask, 15u);
    EXPECT_EQ(bundles[0].newPriceCents, 74100);
    EXPECT_EQ(bundles[0].languageMask, 79u);
    EXPECT_EQ(bundles[1].updateWin64PriceCents, 13000);
    int atTopPrice = 0;
    for (const Bundle& b : bundles)
        atTopPrice += b.newPriceCents == 1495000 ? 1 : 0;
    EXPECT_EQ(atTopPrice, 1);
}

TEST(CatalogueLanguages, ListsBitsInOrderAndIgnoresHighBits)
{
    using Entries = std::vector<std::string>;
    EXPECT_EQ(LanguageEntries(0), Entries{});
    EXPECT_EQ(LanguageEntries(7), (Entries{"Deutsch", "English", "Francais"}));
    EXPECT_EQ(LanguageEntries(79),
              (Entries{"Deutsch", "English", "Francais", "Italiano", "Swedish"}));
    EXPECT_EQ(LanguageEntries(95),
              (Entries{"Deutsch", "English", "Francais", "Italiano", "Espanol", "Swedish"}));
    EXPECT_EQ(LanguageEntries(127), (Entries{"Deutsch", "English", "Francais", "Italiano",
                                             "Espanol", "Portugues", "Swedish"}));
    EXPECT_EQ(LanguageEntries(0xFFFFFF80u), Entries{});
    EXPECT_EQ(LanguageEntries(0x80u | 3u), LanguageEntries(3));
}

TEST(CatalogueDiscount, TablesInHalfPercent)
{
    const int individual[] = {0, 0, 50, 55, 60, 65, 70, 75, 80, 85, 90};
    const int floating[] = {-100, -100, -40, 0, 20, 30, 40, 50, 60, 70, 70};
    for (int n = 0; n <= 10; ++n) {
        EXPECT_EQ(DiscountHalfPercent(kIndividual, n), individual[n]) << "n=" << n;
        EXPECT_EQ(DiscountHalfPercent(kNetworkFloating, n), floating[n]) << "n=" << n;
    }
}

TEST(CatalogueDiscount, NumbersOutsideTheTableAndUnknownType)
{
    struct Case {
        int type;
        int number;
        int halfPercent;
    };
    const Case cases[] = {
        {kNetworkFloating, 25, 70},
        {kIndividual, 100, 90},
        {kIndividual, 11, 90},
        {kIndividual, std::numeric_limits<int>::max(), 90},
        {kIndividual, -1, 0},
        {kNetworkFloating, -5, -100},
        {kNetworkFloating, std::numeric_limits<int>::min(), -100},
        {-1, 5, 0},
        {2, 5, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DiscountHalfPercent(c.type, c.number), c.halfPercent)
            << "type " << c.type << " number " << c.number;
    }
}

TEST(CatalogueFlatUpdatePrice, ByKind)
{
    EXPECT_EQ(FlatUpdatePrice(kUpdate), Money::fromCents(4000));
    EXPECT_EQ(FlatUpdatePrice(kUpdateWin64), Money::fromCents(5000));
    EXPECT_EQ(FlatUpdatePrice(kNewLicence), Money());
    EXPECT_EQ(FlatUpdatePrice(-1), Money());
    EXPECT_EQ(FlatUpdatePrice(3), Money());
}

} // namespace
} // namespace velmaro
