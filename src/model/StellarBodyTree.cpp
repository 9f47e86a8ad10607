// Tree operations, designations and roll-ups of TStellarBody.
#include "model/StellarBody.h"

#include "base/NumberFormat.h"

#include <algorithm>

namespace kalvion {

TStellarBody *TStellarBody::GetChild(int index) const
{
    if (index < 0 || index >= ChildrenCount())
        return nullptr;
    return Children[static_cast<std::size_t>(index)].get();
}

int TStellarBody::AddChild(std::unique_ptr<TStellarBody> child)
{
    if (!child)
        return ChildrenCount();
    child->Parent = this;
    Children.push_back(std::move(child));
    return ChildrenCount();
}

int TStellarBody::InsertBefore(std::unique_ptr<TStellarBody> &body)
{
    if (!Parent || !body)
        return -1;
    const int idx = Parent->FindChildIndex(this);
    if (idx < 0)
        return -1;
    const double prev = idx > 0 ? Parent->Children[static_cast<std::size_t>(idx - 1)]->Distance : 0.0;
    body->Distance = (Distance + prev) / 2;
    body->Parent = Parent;
    Parent->Children.insert(Parent->Children.begin() + idx, std::move(body));
    return idx;
}

int TStellarBody::FindChildIndex(const TStellarBody *child) const
{
    for (std::size_t i = 0; i < Children.size(); ++i)
        if (Children[i].get() == child)
            return static_cast<int>(i);
    return -1;
}

TStellarBody *TStellarBody::GetRootBody()
{
    TStellarBody *b = this;
    while (b->Parent)
        b = b->Parent;
    return b;
}

const TStellarBody *TStellarBody::GetRootBody() const
{
    const TStellarBody *b = this;
    while (b->Parent)
        b = b->Parent;
    return b;
}

namespace {

void CollectPreOrder(TStellarBody *b, TStellarBodyList &list)
{
    list.push_back(b);
    for (auto &c : b->Children)
        CollectPreOrder(c.get(), list);
}

} // namespace

void TStellarBody::GetAllChildren(TStellarBodyList &list)
{
    if (list.capacity() < 1000)
        list.reserve(1000);
    CollectPreOrder(this, list);
}

TStellarBody *TStellarBody::GetParentStar() const
{
    for (TStellarBody *p = Parent; p; p = p->Parent)
        if (p->TypeID == BODY_TYPE_STAR)
            return p;
    return nullptr;
}

TStellarBody *TStellarBody::GetParentBody() const
{
    if (Parent && Parent->TypeID == BODY_TYPE_PLANETSYSTEM)
        return Parent->Parent;
    return Parent;
}

TStellarBody *TStellarBody::GetOrbitalParent() const
{
    for (TStellarBody *p = Parent; p; p = p->Parent)
        if (!IsNonOrbitalParent(p->TypeID))
            return p;
    return nullptr;
}

void TStellarBody::DeleteChildren()
{
    if (Children.empty())
        return;
    ModifySystem();
    TParts &parts = Parts();
    if (!parts.DeletedChildren)
        parts.DeletedChildren = std::make_unique<TBodyList>();
    for (auto &c : Children)
        parts.DeletedChildren->push_back(std::move(c));
    Children.clear();
}

void TStellarBody::UnloadChildren()
{
    Children.clear();
}

std::unique_ptr<TStellarBody> TStellarBody::ExtractChild(const TStellarBody *child)
{
    const int idx = FindChildIndex(child);
    if (idx < 0)
        return nullptr;
    auto owned = std::move(Children[static_cast<std::size_t>(idx)]);
    Children.erase(Children.begin() + idx);
    return owned;
}

bool TStellarBody::SystemModified() const
{
    if (Modified)
        return true;
    for (const auto &c : Children)
        if (c->SystemModified())
            return true;
    return false;
}

void TStellarBody::ModifySystem()
{
    Modified = true;
    GetRootBody()->Modified = true;
}

void TStellarBody::SortChildrenByDistance()
{
    if (IsGroupingType(TypeID))
        return;
    std::stable_sort(Children.begin(), Children.end(),
                     [](const auto &a, const auto &b) { return a->Distance < b->Distance; });
}

void TStellarBody::SetChildDesignations(const std::string &prefix)
{
    for (std::size_t i = 0; i < Children.size(); ++i) {
        TStellarBody &child = *Children[i];
        if (!child.Name.empty())
            continue;
        const int pos = static_cast<int>(i) + 1;
        switch (TypeID) {
        case BODY_TYPE_MULT:
        case BODY_TYPE_PLANETSYSTEM:
            child.Name = prefix + " " + static_cast<char>((64 + pos) & 0xFF);
            break;
        case BODY_TYPE_CLOSEMULT:
            child.Name = prefix + "-" + std::to_string(pos);
            break;
        case BODY_TYPE_TERRESTRIAL:
        case BODY_TYPE_GASGIANT:
            child.Name = prefix + "." + std::to_string(pos);
            break;
        case BODY_TYPE_STAR:
            child.Name = prefix + " " + RomanNumeral(pos);
            break;
        default:
            break;
        }
    }
    for (auto &c : Children)
        c->SetChildDesignations(c->Name);
}

void TStellarBody::ClearChildrenNames()
{
    for (auto &c : Children) {
        c->Name.clear();
        c->ClearChildrenNames();
    }
}

namespace {

double SumPopulation(const TStellarBody &b)
{
    double sum = b.Population;
    for (const auto &c : b.Children)
        sum += SumPopulation(*c);
    return sum;
}

int MaxHabitability(const TStellarBody &b, int best)
{
    best = std::max(best, static_cast<int>(b.Habitability));
    for (const auto &c : b.Children)
        best = MaxHabitability(*c, best);
    return best;
}

int CountBodies(const TStellarBody &b)
{
    int n = 1;
    for (const auto &c : b.Children)
        n += CountBodies(*c);
    return n;
}

} // namespace

double TStellarBody::GetSystemPopulation() const { return SumPopulation(*GetRootBody()); }

double TStellarBody::GetChildPopulation() const { return SumPopulation(*this); }

int TStellarBody::GetMaxHabitability() const { return MaxHabitability(*GetRootBody(), 0); }

int TStellarBody::GetMaxChildHabitability() const { return MaxHabitability(*this, Habitability); }

int TStellarBody::GetBodyCount() const { return CountBodies(*this); }

namespace {

struct RollUp {
    double population = 0;
    int habitability = 0;
    int count = 0;
};

// One walk for all three totals: sectors hold hundreds of thousands of bodies.
void Accumulate(const TStellarBody &b, RollUp &r)
{
    r.population += b.Population;
    r.habitability = std::max(r.habitability, static_cast<int>(b.Habitability));
    ++r.count;
    for (const auto &c : b.Children)
        Accumulate(*c, r);
}

} // namespace

void TStellarBody::UpdateRootBody()
{
    TStellarBody *root = GetRootBody();
    RollUp r;
    Accumulate(*root, r);
    root->ChildPopulation = r.population;
    root->ChildHabitability = r.habitability;
    root->BodyCount = r.count;
}

std::string TStellarBody::FormatPopulation() const { return FormatPopulationNumber(Population); }

std::string TStellarBody::FormatSystemPopulation() const { return FormatPopulationNumber(GetSystemPopulation()); }

std::string TStellarBody::FormatChildPopulation() const { return FormatPopulationNumber(GetChildPopulation()); }

} // namespace kalvion
