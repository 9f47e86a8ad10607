// The tree of the selected systems with their display lines.
#include "model/VexaSector.h"

#include "model/SystemDataDisplay.h"
#include "model/TreeSink.h"

#include <vector>

namespace kalvion {

namespace {

// Passes nodes through to the real tree and keeps the nodes of the first two
// levels, which are expanded once the tree is complete.
class TTopLevelsRecorder : public TTreeSink {
public:
    explicit TTopLevelsRecorder(TTreeSink &tree) : FTree(tree) {}
    void Clear() override { FTree.Clear(); }
    NodeId AddNode(NodeId parent, const std::string &text, TStellarBody *body) override
    {
        const NodeId id = FTree.AddNode(parent, text, body);
        if (parent == ROOT) {
            FTop.push_back(id);
            FLevels.push_back(id);
        } else if (!FTop.empty() && parent == FTop.back()) {
            FLevels.push_back(id);
        }
        return id;
    }
    void CollapseAll() override { FTree.CollapseAll(); }
    void Expand(NodeId node) override { FTree.Expand(node); }
    const std::vector<NodeId> &FirstTwoLevels() const { return FLevels; }

private:
    TTreeSink &FTree;
    std::vector<NodeId> FTop;
    std::vector<NodeId> FLevels;
};

} // namespace

void TVexaSector::FillTreeSelected(TTreeSink &tree)
{
    TTopLevelsRecorder rec(tree);
    rec.Clear();
    int added = 0;
    for (auto &rootPtr : Systems) {
        TStellarBody *root = rootPtr.get();
        if (!root->Selected)
            continue;
        DynaLoad(root);
        const std::string &name = root->Name.empty() ? std::string(SYSTEM_LABEL_UNNAMED_C) : root->Name;
        const TTreeSink::NodeId node = rec.AddNode(TTreeSink::ROOT, name, root);
        FillSystemDataTree(*root, rec, node, &SystemDataDefaults);
        // A long selection stays collapsed: expanding it would flood the tree.
        if (++added == MAX_BODIES_IN_TREE)
            return;
    }
    rec.CollapseAll();
    for (TTreeSink::NodeId id : rec.FirstTwoLevels())
        rec.Expand(id);
}

} // namespace kalvion
