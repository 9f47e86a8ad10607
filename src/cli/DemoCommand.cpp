// "kalvion-cli demo": a short tour of what the core can do so far.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "base/NumberFormat.h"
#include "model/VexaSector.h"
#include "base/PhysicalFormulas.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace kalvion::cli {

namespace {

std::unique_ptr<TStellarBody> MakeBody(int type, const std::string &name, double distance, double radius,
                                       double density, double population, int habitability)
{
    auto b = TStellarBody::Create();
    b->TypeID = type;
    b->Name = name;
    b->Distance = distance;
    b->Radius = radius;
    b->Density = density;
    b->Mass = MassRelEarth(radius, density);
    b->Population = population;
    b->Habitability = habitability;
    b->Rotation = 24;
    return b;
}

void BuildDemoSector(TVexaSector &sector)
{
    auto sol = TStellarBody::Create();
    sol->TypeID = BODY_TYPE_STAR;
    sol->Name = "Sol";
    sol->Spectral = "G2V";
    sol->Mass = 1;
    sol->SetStarMetrics();
    sol->AddChild(MakeBody(BODY_TYPE_TERRESTRIAL, "", 57909050, 2439.7, 0.98, 0, HAB_INHOSPITABLE));
    sol->AddChild(MakeBody(BODY_TYPE_TERRESTRIAL, "", 108208000, 6051.8, 0.95, 0, HAB_INHOSPITABLE));
    auto earth = MakeBody(BODY_TYPE_TERRESTRIAL, "", 149597890, 6378.14, 1, 8.1e9, HAB_HOSPITABLE);
    earth->AddChild(MakeBody(BODY_TYPE_TERRESTRIAL, "", 384400 - 6378.14, 1737.4, 0.61, 0, 0));
    sol->AddChild(std::move(earth));
    sol->AddChild(MakeBody(BODY_TYPE_GASGIANT, "", 778547200, 71492, 0.24, 0, 0));
    sol->SetChildDesignations(sol->Name);
    sector.AddSystem(std::move(sol));

    auto pair = TStellarBody::Create();
    pair->TypeID = BODY_TYPE_MULT;
    pair->Name = "Alpha Centauri";
    pair->X = 4.37;
    pair->PoliticalAffiliation = "Free Worlds";
    for (int i = 0; i < 2; ++i) {
        auto star = TStellarBody::Create();
        star->TypeID = BODY_TYPE_STAR;
        star->Mass = i == 0 ? 1.1 : 0.9;
        star->SetStarMetrics();
        pair->AddChild(std::move(star));
    }
    pair->SetChildDesignations(pair->Name);
    pair->GetChild(0)->AddChild(MakeBody(BODY_TYPE_TERRESTRIAL, "", 1.2 * AU, 7000, 1.1, 25000, HAB_HABITABLE));
    pair->GetChild(0)->SetChildDesignations(pair->GetChild(0)->Name);
    sector.AddSystem(std::move(pair));

    auto station = TStellarBody::Create();
    station->TypeID = BODY_TYPE_STATION;
    station->Name = "Waypoint Nine";
    station->Y = -6.1;
    station->Population = 900;
    sector.AddSystem(std::move(station));

    sector.UpdateRootAttribs();
    sector.BuildPoliticalList(true);
    sector.SetFilters();
}

} // namespace

int RunDemo(const CliOptions &opts, std::ostream &out)
{
    ApplySeed(opts);
    auto sector = TVexaSector::Create();
    sector->Name = "Demonstration Sector";
    BuildDemoSector(*sector);

    if (opts.json) {
        nlohmann::json systems = nlohmann::json::array();
        for (const auto &root : sector->Systems) {
            TStellarBodyList all;
            root->GetAllChildren(all);
            nlohmann::json bodies = nlohmann::json::array();
            for (const TStellarBody *b : all)
                bodies.push_back({{"name", b->Name},
                                  {"type", NameFromBodyType(b->TypeID)},
                                  {"year", b->Parent ? b->YearLength() : 0.0},
                                  {"year_text", b->Parent ? b->FormatYearLength() : ""}});
            systems.push_back({{"name", root->Name},
                               {"population", root->ChildPopulation},
                               {"bodies", root->BodyCount},
                               {"members", bodies}});
        }
        PrintJson(out, nlohmann::json({{"sector", sector->Name},
                                       {"population", sector->GetSectorPopulation()},
                                       {"body_count", sector->GetSectorBodyCount()},
                                       {"systems", systems}}));
        return EXIT_OK;
    }

    out << "Kalvion core demonstration: " << sector->Name << "\n\n";
    for (const auto &root : sector->Systems) {
        out << root->Name << " (" << NameFromBodyType(root->TypeID) << ")  at "
            << sector->DistanceString(root->X, true) << ", " << sector->DistanceString(root->Y, true) << ", "
            << sector->DistanceString(root->Z, true) << "\n";
        TStellarBodyList all;
        root->GetAllChildren(all);
        for (const TStellarBody *b : all) {
            if (b == root.get())
                continue;
            int depth = 0;
            for (const TStellarBody *p = b->Parent; p; p = p->Parent)
                ++depth;
            out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << b->Name << "  "
                << NameFromBodyType(b->TypeID);
            if (b->TypeID >= 100)
                out << ", year " << b->FormatYearLength() << ", gravity " << FormatFloat("0.00", b->Gravity())
                    << " g";
            else if (b->TypeID == BODY_TYPE_STAR)
                out << ", luminosity " << FormatFloat("0.000", b->Luminosity);
            out << "\n";
        }
        out << "  population " << root->FormatChildPopulation() << ", best habitability "
            << HabitNameFromHabitCode(root->ChildHabitability) << ", " << FormatCount(root->BodyCount)
            << (root->BodyCount == 1 ? " body\n\n" : " bodies\n\n");
    }
    out << "Sector population: " << FormatPopulationNumber(sector->GetSectorPopulation()) << "\n";
    out << "Bodies in the sector: " << FormatCount(sector->GetSectorBodyCount()) << "\n";

    sector->FilterPopulation = 1000;
    sector->SetFilters();
    out << "Systems shown with a population filter of 1,000: " << sector->VisibleCount << " of "
        << sector->SystemCount() << "\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
