#pragma once
// The data panel's tree of the selected systems: the sector fills it through
// the model's tree sink; dragging a body onto another reassigns it.
#include "base/Colour.h"
#include "model/TreeSink.h"

#include <QTreeWidget>

#include <functional>
#include <vector>

namespace kalvion {
class TStellarBody;
}

namespace kalvion::app {

class TSystemTree final : public QTreeWidget, public TTreeSink {
    Q_OBJECT
public:
    explicit TSystemTree(QWidget *parent = nullptr);

    // TTreeSink
    void Clear() override;
    NodeId AddNode(NodeId parent, const std::string &text, TStellarBody *body) override;
    void CollapseAll() override;
    void Expand(NodeId node) override;

    // Background, text of bodies without population, text of populated ones.
    void SetColors(TColor background, TColor label, TColor populated);
    TStellarBody *BodyOf(const QTreeWidgetItem *item) const;
    QTreeWidgetItem *ItemOf(const TStellarBody *body) const;

    // Called when a body is dropped onto another: (body, new parent).
    std::function<void(TStellarBody *, TStellarBody *)> OnReassign;

signals:
    void bodyPicked(kalvion::TStellarBody *body);

protected:
    void dropEvent(QDropEvent *event) override;

private:
    void Recolor();
    std::vector<QTreeWidgetItem *> FNodes;
    TColor FLabel = 0x008000, FPopulated = 0x00FFFF;
};

} // namespace kalvion::app
