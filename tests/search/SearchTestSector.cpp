#include "SearchTestSector.h"

#include "base/SharedRandom.h"
#include "model/Subsector.h"

#include <random>
#include <unistd.h>

namespace kalvion::test {

namespace {

TStellarBody *Add(TStellarBody &parent, const std::string &name, int type)
{
    auto b = TStellarBody::Create();
    b->Name = name;
    b->TypeID = type;
    TStellarBody *raw = b.get();
    parent.AddChild(std::move(b));
    return raw;
}

std::unique_ptr<TStellarBody> Root(const std::string &name, int type, double x)
{
    auto b = TStellarBody::Create();
    b->Name = name;
    b->TypeID = type;
    b->X = x;
    return b;
}

} // namespace

std::unique_ptr<TVexaSector> MakeSearchSector()
{
    SetSharedRandomSeed(7);
    auto sector = TVexaSector::Create();

    auto sol = Root("Sol", BODY_TYPE_STAR, 0);
    sol->Temp = 5800;
    sol->Luminosity = 1;
    sol->Mass = 1;
    sol->Spectral = "G2V";
    sol->PoliticalAffiliation = "Terran League";
    sol->BodyCount = 10;
    TStellarBody *earth = Add(*sol, "Earth", BODY_TYPE_TERRESTRIAL);
    earth->Population = 8e9;
    earth->Habitability = HAB_HOSPITABLE;
    earth->Mass = 1;
    earth->Temp = 288;
    earth->Atmosphere = 1;
    earth->Radius = 6371;
    earth->Density = 1;
    earth->SetAtmElement("N2", 78);
    earth->SetAtmElement("O2", 21);
    earth->SetField("government", "Democracy");
    earth->SetField("size", "5");
    TStellarBody *luna = Add(*earth, "Luna", BODY_TYPE_TERRESTRIAL);
    luna->Mass = 0.0123;
    luna->Temp = 250;
    TStellarBody *mars = Add(*sol, "Mars", BODY_TYPE_TERRESTRIAL);
    mars->Population = 1000;
    mars->Habitability = HAB_HABITABLE;
    mars->Mass = 0.107;
    mars->Temp = 210;
    mars->Atmosphere = 0.006;
    mars->SetAtmElement("CO2", 95);
    mars->SetField("size", "big");
    TStellarBody *jupiter = Add(*sol, "Jupiter", BODY_TYPE_GASGIANT);
    jupiter->Mass = 318;
    jupiter->Temp = 120;
    Add(*jupiter, "Io", BODY_TYPE_TERRESTRIAL)->Temp = 110;

    auto alpha = Root("Alpha", BODY_TYPE_MULT, 4);
    alpha->BodyCount = 3;
    TStellarBody *a = Add(*alpha, "Alpha A", BODY_TYPE_STAR);
    a->Temp = 5790;
    a->Luminosity = 1.5;
    a->Mass = 1.1;
    TStellarBody *ab = Add(*a, "Alpha Ab", BODY_TYPE_TERRESTRIAL);
    ab->Population = 2e6;
    ab->Temp = 300;
    ab->Habitability = HAB_HABITABLE;
    TStellarBody *b = Add(*alpha, "Alpha B", BODY_TYPE_STAR);
    b->Temp = 5260;
    b->Mass = 0.9;

    auto far = Root("Far", BODY_TYPE_STAR, 50);
    far->Temp = 3000;
    far->Mass = 0.3;
    far->Spectral = "M5V";
    far->BodyCount = 9;
    TStellarBody *farI = Add(*far, "Far I", BODY_TYPE_TERRESTRIAL);
    farI->Population = 5e6;
    farI->Temp = 250;

    auto lone = Root("Lone", BODY_TYPE_BROWNDWARF, -3);
    lone->Temp = 1000;
    lone->Visible = false;

    TStellarBody *solRaw = sol.get(), *alphaRaw = alpha.get();
    sector->AddSystem(std::move(sol));
    sector->AddSystem(std::move(alpha));
    sector->AddSystem(std::move(far));
    sector->AddSystem(std::move(lone));
    sector->CreateRouteSegment(solRaw, alphaRaw, "Jump", "Sol Run", 0xFF, 0, 1);

    auto core = TVexaSubsector::Create();
    core->Name = "Core";
    core->Shape = VEXA_SUBSECTOR_SPHERE;
    core->SizeX = 10;
    sector->AddSubsector(std::move(core));
    auto rim = TVexaSubsector::Create();
    rim->Name = "Rim";
    rim->Shape = VEXA_SUBSECTOR_SPHERE;
    rim->X = 50;
    rim->SizeX = 5;
    sector->AddSubsector(std::move(rim));
    return sector;
}

TStellarBody *FindBody(TVexaSector &sector, const std::string &name)
{
    for (auto &root : sector.Systems) {
        TStellarBodyList all;
        root->GetAllChildren(all);
        for (TStellarBody *b : all)
            if (b->Name == name)
                return b;
    }
    return nullptr;
}

std::vector<std::string> Names(const TStellarBodyList &list)
{
    std::vector<std::string> names;
    for (const TStellarBody *b : list)
        names.push_back(b->Name);
    return names;
}

void SearchTempDir::SetUp()
{
    std::random_device rd;
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    Dir = std::filesystem::temp_directory_path() /
          ("kalvion-search-" + std::string(info->name()) + "-" + std::to_string(rd()) + std::to_string(::getpid()));
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
}

void SearchTempDir::TearDown()
{
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
}

std::vector<ResultKey> ResultKeys(const TVexaSector &sector, const TStellarBodyList &results)
{
    std::vector<ResultKey> keys;
    for (const TStellarBody *b : results) {
        const TStellarBody *root = b->GetRootBody();
        int index = -1;
        for (std::size_t i = 0; i < sector.Systems.size(); ++i)
            if (sector.Systems[i].get() == root)
                index = static_cast<int>(i);
        keys.emplace_back(index, b->RecordID);
    }
    return keys;
}

} // namespace kalvion::test
