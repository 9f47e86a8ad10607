#pragma once
// A drag in the system tree let go over a body, as a user drops a system
// onto another system's body.
#include "app/SystemTree.h"
#include "model/StellarBody.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace kalvion::app::test {

// The tree's own drop handling, reached as Qt reaches it once a drag ends
// over the viewport (a drag cannot be run on the offscreen platform).
struct TTreeDrop : QTreeWidget {
    using QTreeWidget::dropEvent;
};

// A drag in the tree of `moved` let go over `target`.
inline void DropInTree(TSystemTree &tree, TStellarBody *moved, TStellarBody *target)
{
    QTreeWidgetItem *from = tree.ItemOf(moved);
    QTreeWidgetItem *onto = tree.ItemOf(target);
    ASSERT_NE(from, nullptr);
    ASSERT_NE(onto, nullptr);
    tree.setCurrentItem(from);
    tree.scrollToItem(onto);
    const QRect at = tree.visualItemRect(onto);
    ASSERT_TRUE(at.isValid());
    QMimeData mime;
    QDropEvent drop(QPointF(at.center()), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    void (QTreeWidget::*handler)(QDropEvent *) = &TTreeDrop::dropEvent;  // virtual: the tree's own
    (tree.*handler)(&drop);
    EXPECT_EQ(drop.dropAction(), Qt::IgnoreAction);  // the model moves the body, not Qt
}

} // namespace kalvion::app::test
