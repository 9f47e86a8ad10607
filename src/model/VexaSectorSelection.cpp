// Picking, selection and the operations on the selected systems.
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include "model/TreeSink.h"

#include <climits>

namespace kalvion {

TStellarBody *TVexaSector::BodyAtXY(int x, int y) const
{
    TStellarBody *best = nullptr;
    double bestDepth = INT_MAX;
    for (const auto &root : Systems) {
        if (FilterStyle == 0 && !root->Visible)
            continue;
        const TVexaHitRect &r = root->HitRect;
        if (x < r.Left || x > r.Right || y < r.Top || y > r.Bottom)
            continue;
        if (root->Depth < bestDepth) {
            bestDepth = root->Depth;
            best = root.get();
        }
    }
    return best;
}

int TVexaSector::SelectBodies(int x, int y, bool add)
{
    TStellarBody *hit = BodyAtXY(x, y);
    if (!hit) {
        if (!add)
            SelectAll(false);
    } else if (!hit->Selected) {
        if (!add)
            SelectAll(false);
        hit->Selected = true;
        Selection.push_back(hit);
    }
    bool anySelected = false;
    for (const auto &root : Systems) {
        if (root->Selected) {
            anySelected = true;
            break;
        }
    }
    if (!anySelected) {
        for (auto &route : Routes)
            if (route->SelectObject(x, y, FilterStyle != 0))
                break;
    }
    return -1;
}

void TVexaSector::SelectAll(bool value)
{
    Selection.clear();
    for (auto &root : Systems) {
        root->Selected = value;
        if (value)
            Selection.push_back(root.get());
    }
    if (!value)
        for (auto &route : Routes)
            route->Selected = false;
}

void TVexaSector::SelectBody(TStellarBody *root)
{
    if (IndexOfSystem(root) < 0)
        return;
    root->Selected = true;
    Selection.push_back(root);
}

void TVexaSector::SelectAllHabitable(int level)
{
    for (auto &root : Systems)
        if (root->ChildHabitability >= level)
            root->Selected = true;
}

TStellarBody *TVexaSector::GetSelected(int index) const
{
    if (index < 0 || index >= SelectedCount())
        return nullptr;
    return Selection[static_cast<std::size_t>(index)];
}

void TVexaSector::FillTreeShort(TTreeSink &tree, int node, TStellarBody *body) const
{
    if (!body)
        return;
    const int id = tree.AddNode(node, body->Name + " (" + NameFromBodyType(body->TypeID) + ")", body);
    for (const auto &c : body->Children) {
        if (c->TypeID == BODY_TYPE_RING || c->TypeID == BODY_TYPE_SMALLBODY)
            continue;
        FillTreeShort(tree, id, c.get());
    }
}

void TVexaSector::MoveSelected(double dx, double dy, double dz)
{
    for (auto &root : Systems) {
        if (!root->Selected)
            continue;
        FHistory->TouchSystem(root.get());
        root->X += dx;
        root->Y += dy;
        root->Z += dz;
        root->TVexaBase::Modified = true;
    }
}

void TVexaSector::MoveSelectedAxis(int axis, double delta)
{
    if (axis < 1 || axis > 3)
        return;
    for (TStellarBody *root : Selection) {
        FHistory->TouchSystem(root);
        double &v = axis == 1 ? root->X : (axis == 2 ? root->Y : root->Z);
        v += delta;
        root->ModifySystem();
    }
}

void TVexaSector::SetPoliticalSelected(const std::string &name)
{
    bool changed = false;
    for (auto &root : Systems) {
        if (!root->Selected)
            continue;
        FHistory->TouchSystem(root.get());
        root->PoliticalAffiliation = name;
        root->ModifySystem();
        changed = true;
    }
    if (changed)
        AddPolitical(name);
}

void TVexaSector::SetDisplayStyleSelected(TColor color, TColor labelColor, bool underline, bool bold)
{
    const int style = (bold ? LABEL_FONT_BOLD : 0) | (underline ? LABEL_FONT_UNDERLINE : 0);
    for (auto &root : Systems) {
        if (!root->Selected)
            continue;
        FHistory->TouchSystem(root.get());
        root->Color = color;
        root->LabelColor = labelColor;
        root->FontStyle = style;
        root->ModifySystem();
    }
}

void TVexaSector::SetSphereStyleSelected(int style, TColor color, double size)
{
    for (auto &root : Systems) {
        if (!root->Selected)
            continue;
        FHistory->TouchSystem(root.get());
        root->SphereInfluence = style;
        root->SphereInfluenceColor = color;
        root->SphereInfluenceSize = size;
        root->ModifySystem();
    }
}

void TVexaSector::ChangeBodyTypeSelected(int typeCode)
{
    for (auto &root : Systems) {
        if (!root->Selected)
            continue;
        FHistory->TouchSystem(root.get());
        root->TypeID = typeCode;
        root->ModifySystem();
    }
}

void TVexaSector::SetLabelDistanceSelected(double routeDistance, double labelDistance)
{
    for (auto &root : Systems) {
        if (!root->Selected)
            continue;
        FHistory->TouchSystem(root.get());
        root->RouteDistance = routeDistance;
        root->LabelDistance = labelDistance;
        root->ModifySystem();
    }
}

} // namespace kalvion
