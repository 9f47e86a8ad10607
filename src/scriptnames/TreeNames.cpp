// Trees for scripts: TTreeView and TTreeNode, and the model's operations
// that fill a tree (TVexaSector.FillTreeSelected, TVexaSector.FillTreeShort,
// TStellarBody.FillTree), which write to the script's tree as their tree sink.
//
//   TTreeView.Create                a new, empty tree the script owns
//   tree.Clear                      removes every node
//   tree.Count / tree.NodeCount     top-level nodes / nodes at every level
//   tree.GetNode(i)                 top-level node i (from 0); nil outside
//   tree.AddChild(node, text)       a new node under node (top level for nil)
//   tree.GetText                    the whole tree, one line per node in tree
//                                   order, two spaces of indent per level,
//                                   CR LF after each line
//   node.Text, node.Expanded        readable and writable; node.Level (0 at
//                                   the top) readable
//   node.Count, node.GetChild(i), node.GetParent, node.GetBody
//   FreeObject node                 removes the node with everything under it
//
// FillTreeSelected empties the tree and adds the selected systems as the
// window's system tree shows them; FillTreeShort adds "name (type)" for a
// body and its children, rings and small bodies left out.  FillTree's layout
// is fixed, unlike the window's configurable one: under the node (top level
// for nil) one node for the body, its name or "(Unnamed)", holding the lines
// of the built-in display fields of its type (those "Restore Defaults" sets,
// whatever the sector or the body has configured); the "children" field
// becomes its caption with one such node per child, nearest first.
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/SystemDataConfig.h"
#include "model/SystemDataDisplay.h"
#include "model/VexaSector.h"
#include "scriptnames/NameHelpers.h"
#include "scriptnames/ScriptTree.h"

#include <algorithm>
#include <stdexcept>

namespace kalvion::names {

namespace {

constexpr const char *TV = "TTreeView";
constexpr const char *TN = "TTreeNode";
constexpr const char *BC = "TStellarBody";
// Files hold bodies at most this deep; a fill goes no deeper.
constexpr int FILL_MAX_DEPTH = 256;

using NodeId = TTreeSink::NodeId;

[[noreturn]] void Fail(const char *routine, const std::string &why)
{
    throw std::runtime_error(std::string(routine) + ": " + why);
}

// The node argument as a parent in `tree`: ROOT for nil.
NodeId ParentIn(TScriptTree &tree, const TScriptValue &v, const char *routine)
{
    const auto *node = Maybe<TScriptTreeNode>(v);
    if (!node)
        return TTreeSink::ROOT;
    if (node->Tree != &tree)
        Fail(routine, "the node belongs to another tree");
    return node->Id;
}

void CheckDepth(const TStellarBody &body, const char *routine)
{
    std::vector<std::pair<const TStellarBody *, int>> pending{{&body, 0}};
    while (!pending.empty()) {
        const auto [b, depth] = pending.back();
        pending.pop_back();
        if (depth > FILL_MAX_DEPTH)
            Fail(routine, "the body's tree is more than " + std::to_string(FILL_MAX_DEPTH) + " levels deep");
        for (const auto &c : b->Children)
            pending.emplace_back(c.get(), depth + 1);
    }
}

void CheckRoom(const TScriptTree &tree, const char *routine)
{
    if (tree.Full())
        Fail(routine, "the tree is full (" + std::to_string(TScriptTree::MAX_NODES) + " nodes)");
}

const TSystemDataConfigHolder &BuiltInFields()
{
    static const TSystemDataConfigHolder holder = [] {
        TSystemDataConfigHolder h;
        SetDefaultSystemDataConfig(h);
        return h;
    }();
    return holder;
}

// FillTree's layout (above); the depth was checked before.
void FillFixed(TScriptTree &tree, NodeId parent, TStellarBody &body)
{
    const NodeId node =
        tree.AddNode(parent, body.Name.empty() ? std::string(SYSTEM_LABEL_UNNAMED_C) : body.Name, &body);
    const TSystemDataConfig *config = BuiltInFields().GetConfigForType(body.TypeID);
    if (node == TScriptTree::INVALID || !config)
        return;
    std::string text;
    for (const TSystemDataRec &rec : config->Records) {
        if (rec.Source != "children") {
            if (SystemDataLineText(body, rec, text))
                tree.AddNode(node, text, nullptr);
            continue;
        }
        if (body.Children.empty())
            continue;
        // Nearest first, as the window lists them, without reordering the body.
        std::vector<TStellarBody *> children;
        for (const auto &c : body.Children)
            children.push_back(c.get());
        if (!IsGroupingType(body.TypeID))
            std::stable_sort(children.begin(), children.end(),
                             [](const TStellarBody *a, const TStellarBody *b) { return a->Distance < b->Distance; });
        const NodeId group = tree.AddNode(node, rec.DisplayText, nullptr);
        for (TStellarBody *c : children)
            FillFixed(tree, group, *c);
    }
}

TScriptValue NodeRef(const TNames &n, TScriptTreeNode *node)
{
    return node ? n.Tracked(TN, node, node->LifetimeToken()) : TScriptValue::FromObject({});
}

void RegisterTreeClasses(const TNames &n)
{
    n.Reg.AddConstructor(TV, [n] {
        auto tree = std::make_unique<TScriptTree>([n](TStellarBody *b) { return n.Model(BC, b).Obj; });
        return n.Adopt(TV, std::move(tree)).Obj;
    });
    if (TScriptClassInfo *nodeClass = n.Reg.AddClass(TN, "TObject"); nodeClass && !nodeClass->Destroy)
        nodeClass->Destroy = [](void *p) {
            auto *node = static_cast<TScriptTreeNode *>(p);
            node->Tree->Delete(node->Id);
            return true;
        };

    using T = TScriptTree;
    n.Method<T>(TV, "Clear", {}, TNone(), [](T &t, TScriptArgs &) {
        t.Clear();
        return VNone();
    });
    n.Method<T>(TV, "Count", {}, TInt(), [](T &t, TScriptArgs &) { return VInt(std::int64_t(t.TopNodes().size())); });
    n.Method<T>(TV, "NodeCount", {}, TInt(), [](T &t, TScriptArgs &) { return VInt(std::int64_t(t.Count())); });
    n.Method<T>(TV, "GetNode", {TInt()}, TObj(TN), [n](T &t, TScriptArgs &a) {
        const auto &top = t.TopNodes();
        if (a[0].Int < 0 || a[0].Int >= static_cast<std::int64_t>(top.size()))
            return NodeRef(n, nullptr);
        return NodeRef(n, t.Node(top[static_cast<std::size_t>(a[0].Int)]));
    });
    n.Method<T>(TV, "AddChild", {TObj(TN), TStr()}, TObj(TN), [n](T &t, TScriptArgs &a) {
        const NodeId id = t.AddNode(ParentIn(t, a[0], "AddChild"), a[1].Str, nullptr);
        CheckRoom(t, "AddChild");
        return NodeRef(n, t.Node(id));
    });
    n.Method<T>(TV, "GetText", {}, TStr(), [](T &t, TScriptArgs &) {
        std::string text;
        if (!t.Outline(text))
            Fail("GetText", "the tree's text would be longer than 64 MiB");
        return VStr(std::move(text));
    });

    using N = TScriptTreeNode;
    n.Prop(TN, "Text", &N::Text);
    n.Prop(TN, "Expanded", &N::Expanded);
    n.PropRO(TN, "Level", &N::Level);
    n.Method<N>(TN, "Count", {}, TInt(), [](N &node, TScriptArgs &) { return VInt(std::int64_t(node.Children.size())); });
    n.Method<N>(TN, "GetChild", {TInt()}, TObj(TN), [n](N &node, TScriptArgs &a) {
        if (a[0].Int < 0 || a[0].Int >= static_cast<std::int64_t>(node.Children.size()))
            return NodeRef(n, nullptr);
        return NodeRef(n, node.Tree->Node(node.Children[static_cast<std::size_t>(a[0].Int)]));
    });
    n.Method<N>(TN, "GetParent", {}, TObj(TN), [n](N &node, TScriptArgs &) { return NodeRef(n, node.Tree->Node(node.Parent)); });
    n.Method<N>(TN, "GetBody", {}, TObj(BC), [](N &node, TScriptArgs &) { return TScriptValue::FromObject(node.Body); });
}

void RegisterFills(const TNames &n)
{
    n.Method<TVexaSector>("TVexaSector", "FillTreeSelected", {TObj(TV)}, TNone(), [](TVexaSector &s, TScriptArgs &a) {
        auto &tree = Need<TScriptTree>(a[0], "FillTreeSelected");
        for (const auto &root : s.Systems)
            if (root->Selected)
                CheckDepth(*root, "FillTreeSelected");
        s.FillTreeSelected(tree);
        CheckRoom(tree, "FillTreeSelected");
        return VNone();
    });
    n.Method<TVexaSector>("TVexaSector", "FillTreeShort", {TObj(TV), TObj(TN), TObj(BC)}, TNone(),
                          [](TVexaSector &s, TScriptArgs &a) {
                              auto &tree = Need<TScriptTree>(a[0], "FillTreeShort");
                              const NodeId parent = ParentIn(tree, a[1], "FillTreeShort");
                              auto &body = Need<TStellarBody>(a[2], "FillTreeShort");
                              CheckDepth(body, "FillTreeShort");
                              s.FillTreeShort(tree, parent, &body);
                              CheckRoom(tree, "FillTreeShort");
                              return VNone();
                          });
    n.Method<TStellarBody>(BC, "FillTree", {TObj(TV), TObj(TN)}, TNone(), [](TStellarBody &b, TScriptArgs &a) {
        auto &tree = Need<TScriptTree>(a[0], "FillTree");
        const NodeId parent = ParentIn(tree, a[1], "FillTree");
        CheckDepth(b, "FillTree");
        FillFixed(tree, parent, b);
        CheckRoom(tree, "FillTree");
        return VNone();
    });
}

} // namespace

void RegisterTreeNames(const TNames &n)
{
    RegisterTreeClasses(n);
    RegisterFills(n);
}

} // namespace kalvion::names
