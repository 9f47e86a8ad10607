// A message taller than the screen opens as a scrolling text window with
// Copy and its buttons, sized to the screen; any dialog is kept on the
// screen it opens on.
#include "app/LongTextBox.h"
#include "app/ScreenFit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

using namespace kalvion::app;

namespace {

QString Lines(int n)
{
    QStringList lines;
    for (int i = 1; i <= n; ++i)
        lines << QStringLiteral("Populated system %1 of the report").arg(i);
    return lines.join(QLatin1Char('\n'));
}

TEST(LongTextBox, ATallMessageScrollsInAWindowThatFitsTheScreen)
{
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    QMessageBox shortBox(QMessageBox::Information, QStringLiteral("Report"), Lines(3), QMessageBox::Ok);
    EXPECT_FALSE(TallerThanScreen(shortBox));
    QMessageBox tallBox(QMessageBox::Information, QStringLiteral("Report"), Lines(300), QMessageBox::Ok);
    ASSERT_TRUE(TallerThanScreen(tallBox));

    TfrmLongText box(QStringLiteral("Report"), Lines(300), QMessageBox::Information, QDialogButtonBox::Ok);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Report"));
    EXPECT_TRUE(avail.contains(box.frameGeometry())) << box.width() << "x" << box.height();
    auto *text = box.findChild<QPlainTextEdit *>(QStringLiteral("memText"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->blockCount(), 300);
    box.show();
    // Taller than the box: the text scrolls, the buttons stay in view.
    EXPECT_GT(text->verticalScrollBar()->maximum(), 0);
    auto *ok = box.findChild<QPushButton *>(QStringLiteral("btnOk"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(box.rect().contains(ok->mapTo(&box, ok->rect().bottomRight())));

    box.findChild<QPushButton *>(QStringLiteral("btnCopy"))->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), Lines(300));
    ok->click();
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_EQ(box.Clicked(), QDialogButtonBox::Ok);

    // A question keeps its own buttons.
    TfrmLongText ask(QStringLiteral("Delete?"), Lines(300), QMessageBox::Question,
                     QDialogButtonBox::Yes | QDialogButtonBox::No);
    ask.show();
    auto *buttons = ask.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    buttons->button(QDialogButtonBox::No)->click();
    EXPECT_EQ(ask.Clicked(), QDialogButtonBox::No);
    EXPECT_EQ(ask.result(), QDialog::Rejected);
}

TEST(LongTextBox, ADialogLargerThanTheScreenOrOffItIsBroughtOnto)
{
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    QDialog dialog;
    dialog.resize(avail.width() + 500, avail.height() + 900);
    dialog.move(avail.x() - 300, avail.y() - 200);
    EXPECT_TRUE(FitOnScreen(dialog));
    EXPECT_TRUE(avail.contains(dialog.frameGeometry()));
    // One that fits is left alone.
    dialog.resize(300, 200);
    dialog.move(avail.x() + 10, avail.y() + 10);
    EXPECT_FALSE(FitOnScreen(dialog));
    EXPECT_EQ(dialog.pos(), QPoint(avail.x() + 10, avail.y() + 10));

    // The filter does it as a dialog is shown.
    TScreenFit fit;
    qApp->installEventFilter(&fit);
    QDialog shown;
    shown.resize(avail.width() * 2, avail.height() * 2);
    shown.show();
    EXPECT_LE(shown.height(), avail.height());
    EXPECT_LE(shown.width(), avail.width());
    qApp->removeEventFilter(&fit);
}

} // namespace
