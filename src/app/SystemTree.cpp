#include "app/SystemTree.h"

#include "base/TextEncoding.h"
#include "model/StellarBody.h"

#include <QDropEvent>

namespace kalvion::app {

namespace {
constexpr int BODY_ROLE = Qt::UserRole + 1;
}

TSystemTree::TSystemTree(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("treeSystems"));
    setHeaderHidden(true);
    setColumnCount(1);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item, QTreeWidgetItem *) {
        if (TStellarBody *b = BodyOf(item))
            emit bodyPicked(b);
    });
}

void TSystemTree::Clear()
{
    clear();
    FNodes.clear();
}

TTreeSink::NodeId TSystemTree::AddNode(NodeId parent, const std::string &text, TStellarBody *body)
{
    auto *item = parent >= 0 && parent < static_cast<NodeId>(FNodes.size())
                     ? new QTreeWidgetItem(FNodes[static_cast<std::size_t>(parent)])
                     : new QTreeWidgetItem(this);
    item->setText(0, QString::fromStdString(BytesToUtf8(text)));
    item->setData(0, BODY_ROLE, QVariant::fromValue(static_cast<void *>(body)));
    const bool populated = body && body->ChildPopulation > 0;
    item->setForeground(0, QColor::fromRgb(ColorToQRgb(populated ? FPopulated : FLabel)));
    // Only bodies can be dragged or dropped onto; text lines cannot.
    if (!body)
        item->setFlags(item->flags() & ~(Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled));
    FNodes.push_back(item);
    return static_cast<NodeId>(FNodes.size() - 1);
}

void TSystemTree::CollapseAll() { collapseAll(); }

void TSystemTree::Expand(NodeId node)
{
    if (node >= 0 && node < static_cast<NodeId>(FNodes.size()))
        FNodes[static_cast<std::size_t>(node)]->setExpanded(true);
}

void TSystemTree::SetColors(TColor background, TColor label, TColor populated)
{
    FLabel = label;
    FPopulated = populated;
    // Selected entries are drawn in white.
    setStyleSheet(QStringLiteral("QTreeWidget { background-color: %1; } "
                                 "QTreeWidget::item:selected { color: white; }")
                      .arg(QColor::fromRgb(ColorToQRgb(background)).name()));
    Recolor();
}

void TSystemTree::Recolor()
{
    for (auto *item : FNodes) {
        const TStellarBody *b = BodyOf(item);
        item->setForeground(0, QColor::fromRgb(ColorToQRgb(b && b->ChildPopulation > 0 ? FPopulated : FLabel)));
    }
}

TStellarBody *TSystemTree::BodyOf(const QTreeWidgetItem *item) const
{
    if (!item)
        return nullptr;
    return static_cast<TStellarBody *>(item->data(0, BODY_ROLE).value<void *>());
}

QTreeWidgetItem *TSystemTree::ItemOf(const TStellarBody *body) const
{
    for (auto *item : FNodes)
        if (BodyOf(item) == body)
            return item;
    return nullptr;
}

void TSystemTree::dropEvent(QDropEvent *event)
{
    // The model decides where the body goes; the tree is refilled from it,
    // so Qt's own move of the item never happens.
    TStellarBody *moved = BodyOf(currentItem());
    TStellarBody *target = BodyOf(itemAt(event->position().toPoint()));
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (moved && target && moved != target && OnReassign)
        OnReassign(moved, target);
}

} // namespace kalvion::app
