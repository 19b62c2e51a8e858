#include "core/pricing.h"

#include "core/catalogue.h"
#include "core/money.h"

#include <gtest/gtest.h>
#include <string>

namespace velmaro {
namespace {

// Catalogue rows these tests rely on: program 0 costs 383.00, bundle 0 is new at 741.00 and
// bundle 1 has an update price (Win64) of 130.00.
constexpr int kProgram383 = 0;
constexpr int kBundle741 = 0;
constexpr int kBundleWin64Update130 = 1;

std::string PriceText(const ItemSelection& selection)
{
    const auto price = ItemPrice(selection);
    return price ? MoneyText(*price) : "<none>";
}

ItemSelection NewProgram(int licenceType, int number)
{
    return {false, kProgram383, kNewLicence, licenceType, number};
}

TEST(ItemPrice, CataloguePricesAssumedByTheseTests)
{
    ASSERT_GT(Programs().size(), 0u);
    ASSERT_GT(Bundles().size(), 1u);
    EXPECT_EQ(Programs()[kProgram383].netPriceCents, 38300);
    EXPECT_EQ(Bundles()[kBundle741].newPriceCents, 74100);
    EXPECT_EQ(Bundles()[kBundleWin64Update130].updateWin64PriceCents, 13000);
}

TEST(ItemPrice, NewProgramLicencesTakeTheQuantityDiscount)
{
    struct Case {
        int licenceType;
        int number;
        const char* price;
    };
    const Case cases[] = {
        {kIndividual, 1, "383.00"},      {kIndividual, 2, "574.50"}, // 25 % off
        {kIndividual, 10, "2,106.50"},                               // 45 % off
        {kIndividual, 11, "2,317.15"}, // above 10 keeps the entry for 10
        {kIndividual, 100, "21,065.00"}, {kNetworkFloating, 1, "574.50"}, // 50 % surcharge
        {kNetworkFloating, 2, "919.20"}, {kNetworkFloating, 3, "1,149.00"},
        {kIndividual, 0, "0.00"},        {kNetworkFloating, 0, "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PriceText(NewProgram(c.licenceType, c.number)), c.price)
            << "type " << c.licenceType << ", number " << c.number;
}

TEST(ItemPrice, NewBundleLicencesUseTheSameDiscountTables)
{
    EXPECT_EQ(PriceText({true, kBundle741, kNewLicence, kNetworkFloating, 3}), "2,223.00");
    // 5 x 741.00 x 0.675 = 2500.875, held exactly and rounded half up only when written.
    const auto five = ItemPrice({true, kBundle741, kNewLicence, kIndividual, 5});
    ASSERT_TRUE(five.has_value());
    EXPECT_EQ(*five, Money::fromUnits(250'087'500'000));
    EXPECT_EQ(MoneyText(*five), "2,500.88");
}

TEST(ItemPrice, NoLicenceTypeMeansNoDiscount)
{
    EXPECT_EQ(PriceText(NewProgram(-1, 1)), "383.00");
    EXPECT_EQ(PriceText(NewProgram(-1, 2)), "766.00");
    EXPECT_EQ(PriceText({true, kBundle741, kNewLicence, -1, 3}), "2,223.00");
}

TEST(ItemPrice, ProgramUpdatesAreFlatWhateverNumberAndType)
{
    for (int licenceType : {-1, 0, 1}) {
        for (int number : {0, 1, 7, 100}) {
            const int row = kProgram383;
            EXPECT_EQ(PriceText({false, row, kUpdate, licenceType, number}), "40.00");
            EXPECT_EQ(PriceText({false, row, kUpdateWin64, licenceType, number}), "50.00");
        }
    }
}

TEST(ItemPrice, BundleUpdatesTakeTheBundlesOwnPrices)
{
    const Bundle& bundle = Bundles()[kBundleWin64Update130];
    for (int number : {1, 5}) {
        EXPECT_EQ(ItemPrice({true, kBundleWin64Update130, kUpdateWin64, kIndividual, number}),
                  Money::fromEuros(130));
        EXPECT_EQ(ItemPrice({true, kBundleWin64Update130, kUpdate, kNetworkFloating, number}),
                  Money::fromCents(bundle.updatePriceCents));
    }
    EXPECT_NE(bundle.updatePriceCents, 4000);
}

TEST(ItemPrice, NoneWithoutARowOrAnItemKind)
{
    EXPECT_EQ(ItemPrice({false, -1, kNewLicence, kIndividual, 1}), std::nullopt);
    EXPECT_EQ(ItemPrice({true, -1, kUpdate, kIndividual, 1}), std::nullopt);
    EXPECT_EQ(ItemPrice({false, kProgram383, -1, kIndividual, 1}), std::nullopt);
    EXPECT_EQ(ItemPrice(ItemSelection{}), std::nullopt);
    // A row past the end of its table, e.g. a program row kept after switching to bundles.
    const int pastBundles = static_cast<int>(Bundles().size());
    EXPECT_EQ(ItemPrice({true, pastBundles, kNewLicence, kIndividual, 1}), std::nullopt);
}

TEST(LicenceCount, FallsBackToOneOnlyForTextThatIsNoInteger)
{
    EXPECT_EQ(LicenceCount(""), 1);
    EXPECT_EQ(LicenceCount("-"), 1);
    EXPECT_EQ(LicenceCount("2,"), 1);
    EXPECT_EQ(LicenceCount("3 "), 1);
    EXPECT_EQ(LicenceCount("0"), 0);
    EXPECT_EQ(LicenceCount("-3"), -3);
    EXPECT_EQ(LicenceCount("  12"), 12);
    EXPECT_EQ(LicenceCount("$A"), 10);
}

} // namespace
} // namespace velmaro
