// What a body costs in memory, and that its compact members (optional
// texts, binary identity, lists and parts made on demand) behave as the
// plain members did.
#include "model/StellarBody.h"

#include "../support/HeapCounts.h"

#include <gtest/gtest.h>

#include <malloc.h>

using namespace kalvion;

namespace {

// A system shaped as the sector benchmark builds it: a star with six
// planets of three moons each (25 bodies), named by designation.
std::unique_ptr<TStellarBody> MakeSystem(int i)
{
    auto root = TStellarBody::Create();
    root->TypeID = BODY_TYPE_STAR;
    root->Name = "System " + std::to_string(i);
    root->PoliticalAffiliation = (i % 3 == 0) ? "League" : "";
    for (int p = 0; p < 6; ++p) {
        auto planet = TStellarBody::Create();
        planet->TypeID = BODY_TYPE_TERRESTRIAL;
        planet->Distance = 1e7 * (p + 1);
        for (int m = 0; m < 3; ++m) {
            auto moon = TStellarBody::Create();
            moon->TypeID = BODY_TYPE_TERRESTRIAL;
            planet->AddChild(std::move(moon));
        }
        root->AddChild(std::move(planet));
    }
    root->SetChildDesignations(root->Name);
    return root;
}

void SetEveryText(TStellarBody &b, const std::string &tag)
{
    b.BodyType = "Brown Dwarf " + tag;
    b.Spectral = "L" + tag;
    b.AtmosphereNotes = "1.00 atm (N2 78%, O2 21%) " + tag;
    b.PoliticalAffiliation = "League " + tag;
    b.Notes = "notes " + tag;
    b.GMNotes = "secret " + tag;
    b.PreviewImageFile = "maps/" + tag + ".png";
    b.BlazonImageFile = "blazons/" + tag + ".png";
    b.ModelFile = "Models/" + tag + ".3ds";
}

void ExpectEveryText(const TStellarBody &b, const std::string &tag)
{
    EXPECT_EQ(b.BodyType, "Brown Dwarf " + tag);
    EXPECT_EQ(b.Spectral, "L" + tag);
    EXPECT_EQ(b.AtmosphereNotes, "1.00 atm (N2 78%, O2 21%) " + tag);
    EXPECT_EQ(b.PoliticalAffiliation, "League " + tag);
    EXPECT_EQ(b.Notes, "notes " + tag);
    EXPECT_EQ(b.GMNotes, "secret " + tag);
    EXPECT_EQ(b.PreviewImageFile, "maps/" + tag + ".png");
    EXPECT_EQ(b.BlazonImageFile, "blazons/" + tag + ".png");
    EXPECT_EQ(b.ModelFile, "Models/" + tag + ".3ds");
}

void ExpectNoText(const TStellarBody &b)
{
    for (const TCompactText *t : {&b.BodyType, &b.Spectral, &b.AtmosphereNotes, &b.PoliticalAffiliation, &b.Notes,
                                  &b.GMNotes, &b.PreviewImageFile, &b.BlazonImageFile, &b.ModelFile}) {
        EXPECT_TRUE(t->empty());
        EXPECT_STREQ(t->c_str(), "");
    }
}

} // namespace

TEST(BodyMemory, BodyAndBaseStayCompact)
{
    // 848 and 112 bytes (plus 48 on the heap for the identity) before the
    // rarely used members were made compact.
    EXPECT_LE(sizeof(TVexaBase), 64u);
    EXPECT_LE(sizeof(TStellarBody), 528u);
}

TEST(BodyMemory, HeapPerBodyOfABenchmarkSystemStaysUnder600Bytes)
{
#ifdef KALVION_HEAP_COUNTS_UNRELIABLE
    GTEST_SKIP() << "the sanitizer's allocator keeps no malloc statistics";
#else
    constexpr int systems = 400;
    std::vector<std::unique_ptr<TStellarBody>> roots;
    roots.reserve(systems);
    const auto before = mallinfo2().uordblks;
    for (int i = 0; i < systems; ++i)
        roots.push_back(MakeSystem(1000 + i));
    const auto after = mallinfo2().uordblks;
    const double perBody = static_cast<double>(after - before) / (systems * 25.0);
    EXPECT_LT(perBody, 600.0);
    EXPECT_GT(perBody, static_cast<double>(sizeof(TStellarBody))) << "the count saw the bodies";
#endif
}

TEST(BodyMemory, CompactTextsSurviveCopyEmptyOrSet)
{
    auto root = TStellarBody::Create();
    SetEveryText(*root, "root");
    root->IDString = "legacy-root";
    root->SetField("Governor", "Ada");
    auto plain = TStellarBody::Create();
    auto texts = TStellarBody::Create();
    SetEveryText(*texts, "child");
    const std::string childId = texts->IDString;
    root->AddChild(std::move(plain));
    root->AddChild(std::move(texts));

    TStellarBody copy;
    root->CopyTo(copy);
    ExpectEveryText(copy, "root");
    EXPECT_EQ(copy.IDString, "legacy-root");
    EXPECT_EQ(copy.GetField("governor"), "Ada");
    ASSERT_EQ(copy.ChildrenCount(), 2);
    ExpectNoText(*copy.GetChild(0));
    EXPECT_TRUE(copy.GetChild(0)->Fields.empty());
    ExpectEveryText(*copy.GetChild(1), "child");
    EXPECT_EQ(copy.GetChild(1)->IDString, childId);

    // The copy owns its texts: changing or emptying the source leaves it.
    SetEveryText(*root, "changed");
    root->GetChild(1)->Notes.clear();
    root->GetChild(1)->ModelFile = "";
    root->SetField("Governor", "");
    ExpectEveryText(copy, "root");
    ExpectEveryText(*copy.GetChild(1), "child");
    EXPECT_EQ(copy.GetField("governor"), "Ada");

    // Texts set on an empty body and emptied again read as never set.
    TStellarBody &bare = *copy.GetChild(0);
    SetEveryText(bare, "x");
    ExpectEveryText(bare, "x");
    for (TCompactText *t : {&bare.BodyType, &bare.Spectral, &bare.AtmosphereNotes, &bare.PoliticalAffiliation,
                            &bare.Notes, &bare.GMNotes, &bare.PreviewImageFile, &bare.BlazonImageFile, &bare.ModelFile})
        *t = std::string();
    ExpectNoText(bare);
}

TEST(BodyMemory, RarePartsComeAndGo)
{
    auto b = TStellarBody::Create();
    EXPECT_EQ(b->SystemDataConfig(), nullptr);
    EXPECT_EQ(b->ColorGroup(), nullptr);
    EXPECT_EQ(b->DeletedChildren(), nullptr);
    EXPECT_EQ(b->RenderInfo(), nullptr);
    EXPECT_EQ(b->DBOffset(), 0);
    EXPECT_EQ(b->DBChildOffset(), 0);
    EXPECT_TRUE(b->AtmElements.empty());

    b->SetSystemDataConfig(std::make_unique<TSystemDataConfig>());
    TGexColorGroup g;
    g.Desert = ColorRGB(1, 2, 3);
    b->SetGexColorGroup(g);
    b->ModelFile = "Models/frigate.3ds";
    b->InitRenderInfo();
    b->SetDBOffset(1LL << 40);
    b->SetDBChildOffset(7);
    b->AddChild(TStellarBody::Create());
    b->DeleteChildren();
    ASSERT_NE(b->SystemDataConfig(), nullptr);
    ASSERT_NE(b->ColorGroup(), nullptr);
    EXPECT_EQ(b->ColorGroup()->Desert, ColorRGB(1, 2, 3));
    ASSERT_NE(b->RenderInfo(), nullptr);
    EXPECT_TRUE(b->RenderInfo()->HasModel);
    ASSERT_NE(b->DeletedChildren(), nullptr);
    EXPECT_EQ(b->DeletedChildren()->size(), 1u);

    TStellarBody copy;
    b->CopyTo(copy);
    EXPECT_EQ(copy.DBOffset(), 1LL << 40);
    EXPECT_EQ(copy.DBChildOffset(), 7);
    EXPECT_NE(copy.SystemDataConfig(), b->SystemDataConfig());
    EXPECT_EQ(copy.ColorGroup()->Desert, ColorRGB(1, 2, 3));
    EXPECT_EQ(copy.RenderInfo(), nullptr) << "the render cache belongs to the source";
    EXPECT_EQ(copy.DeletedChildren(), nullptr);

    // Clearing one part leaves the others.
    b->ClearDeletedChildren();
    EXPECT_EQ(b->DeletedChildren(), nullptr);
    b->SetSystemDataConfig(nullptr);
    EXPECT_EQ(b->SystemDataConfig(), nullptr);
    ASSERT_NE(b->ColorGroup(), nullptr);
    ASSERT_NE(b->RenderInfo(), nullptr);
    b->ClearGexColorGroup();
    EXPECT_EQ(b->ColorGroup(), nullptr);
    EXPECT_NE(b->RenderInfo(), nullptr);

    b->SetAtmElement("n2", 78);
    b->SetAtmElement("O2", 21);
    ASSERT_EQ(b->AtmElements.size(), 2u);
    EXPECT_EQ(b->AtmElements.vec().at(0).Gas, "N2");
    b->ResetAtmElements();
    EXPECT_TRUE(b->AtmElements.empty());
    EXPECT_TRUE(b->AtmElements.vec().empty());
}

TEST(BodyMemory, LifetimeTokenIsMadeOnRequestAndEnds)
{
    auto b = TStellarBody::Create();
    TObjectRef<TStellarBody> ref(b.get());
    EXPECT_TRUE(ref.Alive());
    EXPECT_EQ(ref.Get(), b.get());
    TStellarBody copy;
    b->CopyTo(copy);
    TObjectRef<TStellarBody> copyRef(&copy);
    b->EndLifetime();
    EXPECT_FALSE(ref.Alive());
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_TRUE(copyRef.Alive()) << "copies never share the token";
    TObjectRef<TStellarBody> again(b.get());
    EXPECT_TRUE(again.Alive()) << "a new request makes a new token";
}
