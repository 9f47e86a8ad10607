// Script dialogs on Qt's offscreen platform: geometry, defaults, and what the
// widgets hold after OK and after Cancel.
#include "scripting/ScriptRegistry.h"
#include "scripting/vbs/Bridge.h"
#include "scriptui/ZentScripterUI.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace kalvion;

// Font configuration keeps a few bytes for the life of the process; that is
// the system library's, not ours.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QApplication::instance()) {
            // CTest's environment list may not reach a discovered test; the
            // dialogs need no display either way.
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char arg0[] = "test_scriptui";
            static char *argv[] = {arg0, nullptr};
            new QApplication(argc, argv);
        }
    }
    void SetUp() override
    {
        ZSUI_WindowCaption() = "Plugin";
        TZentScripterUI::ColorDialog() = nullptr;
        TZentScripterUI::FileDialog() = nullptr;
    }

    // Shows the dialog; `inspect` runs while it is open and returns whether to press OK.
    static bool ShowAnd(TZentScripterUI &ui, std::function<bool(QDialog &)> inspect)
    {
        QTimer::singleShot(0, [&] {
            QDialog *d = ui.Window();
            ASSERT_NE(d, nullptr);
            const bool ok = inspect(*d);
            d->findChild<QPushButton *>(ok ? "OkButton" : "CancelButton")->click();
        });
        return ui.ShowModal();
    }
};

TEST_F(DialogTest, EmptyDialogShowsOnlyButtonsAndGeometry)
{
    TZentScripterUI ui;
    ui.SetPosition(10, 20, 500, 400);
    ui.Caption = "Not the title";
    ZSUI_WindowCaption() = "My Plugin";
    const bool r = ShowAnd(ui, [](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), "My Plugin");
        EXPECT_EQ(d.frameGeometry(), QRect(10, 20, 500, 400));
        const auto buttons = d.findChildren<QPushButton *>();
        EXPECT_EQ(buttons.size(), 2);
        auto *ok = d.findChild<QPushButton *>("OkButton");
        auto *cancel = d.findChild<QPushButton *>("CancelButton");
        EXPECT_EQ(ok->text(), "&Ok");
        EXPECT_EQ(cancel->text(), "&Cancel");
        EXPECT_EQ(ok->geometry(), QRect(d.width() - 172, d.height() - 32, 75, 25));
        EXPECT_EQ(cancel->geometry(), QRect(d.width() - 92, d.height() - 32, 75, 25));
        return true;
    });
    EXPECT_TRUE(r);
    EXPECT_EQ(ui.Window(), nullptr);
    EXPECT_FALSE(ShowAnd(ui, [](QDialog &) { return false; }));
}

TEST_F(DialogTest, DefaultsOfDialogAndWidgets)
{
    TZentScripterUI ui;
    EXPECT_EQ(ui.Top, 200);
    EXPECT_EQ(ui.Left, 200);
    EXPECT_EQ(ui.Width, 500);
    EXPECT_EQ(ui.Height, 400);
    EXPECT_FALSE(ui.Centered);
    EXPECT_EQ(ui.Caption, "Plugin");
    EXPECT_EQ(ui.AddRadioGroup()->Columns, 1);
    EXPECT_EQ(ui.AddListbox()->Columns, 0);
    auto *tb = ui.AddTrackBar();
    EXPECT_EQ(tb->MinValue, 0);
    EXPECT_EQ(tb->MaxValue, 10);
    EXPECT_EQ(ui.AddFileOpen()->Text, "browse...");
    EXPECT_EQ(ui.AddFileSave()->Text, "browse...");
    EXPECT_EQ(ui.AddColorSelector()->Text, "Click to choose");
    EXPECT_EQ(ui.AddTextEdit()->WidgetType, ZSUI_TEXTEDIT);
}

TEST_F(DialogTest, CenteredUsesScreenHalves)
{
    TZentScripterUI ui;
    ui.Centered = true;
    ui.Width = 301;
    ui.Height = 201;
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    ShowAnd(ui, [&](QDialog &d) {
        EXPECT_EQ(d.frameGeometry().topLeft(), QPoint(s.width() / 2 - 301 / 2, s.height() / 2 - 201 / 2));
        return true;
    });
}

TEST_F(DialogTest, RadioGroupSelectsByTextIgnoringCase)
{
    TZentScripterUI ui;
    auto *rg = ui.AddRadioGroup();
    rg->SetPosition(10, 10, 200, 100);
    rg->AddItem("Alpha");
    rg->AddItem("Beta");
    rg->AddItem("Gamma");
    rg->Text = "beta";
    EXPECT_TRUE(ShowAnd(ui, [&](QDialog &) {
        auto radios = rg->Control->findChildren<QRadioButton *>();
        EXPECT_EQ(radios.size(), 3);
        EXPECT_TRUE(radios[1]->isChecked());
        EXPECT_EQ(rg->GetText(), "");
        return true;
    }));
    EXPECT_EQ(rg->Text, "Beta");
    rg->Text = "none";
    EXPECT_TRUE(ShowAnd(ui, [](QDialog &) { return true; }));
    EXPECT_EQ(rg->Text, "");
}

TEST_F(DialogTest, ListBoxLiveAndGatheredText)
{
    TZentScripterUI ui;
    auto *lb = ui.AddListbox();
    lb->SetPosition(10, 10, 100, 100);
    lb->AddItem("one");
    lb->AddItem("two");
    lb->Text = "one";
    EXPECT_EQ(lb->GetText(), "one");
    EXPECT_TRUE(ShowAnd(ui, [&](QDialog &) {
        EXPECT_EQ(lb->GetText(), "one");
        return true;
    }));
    EXPECT_EQ(lb->Text, "one");
    EXPECT_EQ(lb->Control, nullptr);
}

TEST_F(DialogTest, FilePickerLayoutAndBrowse)
{
    TZentScripterUI ui;
    auto *fp = ui.AddFileOpen();
    fp->SetPosition(10, 50, 300, 24);
    fp->FileName = "/tmp/start.txt";
    fp->FileMask = "Text files|*.txt;*.csv|All Files|*.*";
    std::string seenFilter, seenInitial;
    TZentScripterUI::FileDialog() = [&](bool save, const std::string &filter, const std::string &initial) {
        EXPECT_FALSE(save);
        seenFilter = filter;
        seenInitial = initial;
        return std::optional<std::string>("/tmp/chosen.txt");
    };
    EXPECT_TRUE(ShowAnd(ui, [&](QDialog &d) {
        auto *btn = qobject_cast<QPushButton *>(fp->Control.data());
        auto *edit = qobject_cast<QLineEdit *>(fp->Edit.data());
        EXPECT_EQ(btn->geometry(), QRect(215, 50, 80, 20));
        EXPECT_EQ(btn->text(), "browse...");
        EXPECT_EQ(edit->geometry(), QRect(10, 50, 200, 24));
        EXPECT_EQ(edit->text(), "/tmp/start.txt");
        btn->click();
        EXPECT_EQ(edit->text(), "/tmp/chosen.txt");
        (void)d;
        return true;
    }));
    EXPECT_EQ(seenFilter, "Text files (*.txt *.csv);;All Files (*.*)");
    EXPECT_EQ(seenInitial, "/tmp/start.txt");
    EXPECT_EQ(fp->FileName, "/tmp/chosen.txt");
}

TEST_F(DialogTest, TrackBarTicksAndPosition)
{
    TZentScripterUI ui;
    auto *tb = ui.AddTrackBar();
    tb->SetPosition(0, 0, 200, 30);
    tb->MaxValue = 25;
    tb->Position = 5;
    EXPECT_TRUE(ShowAnd(ui, [&](QDialog &) {
        auto *s = qobject_cast<QSlider *>(tb->Control.data());
        EXPECT_EQ(s->tickInterval(), 2);
        EXPECT_EQ(s->maximum(), 25);
        EXPECT_EQ(s->value(), 5);
        s->setValue(17);
        return true;
    }));
    EXPECT_EQ(tb->Position, 17);
}

TEST_F(DialogTest, ColourSelectorOpensOnItsColour)
{
    TZentScripterUI ui;
    auto *cs = ui.AddColorSelector();
    cs->SetPosition(0, 0, 100, 30);
    cs->Color = 255;
    EXPECT_EQ(cs->GetColorRed(), 255);
    EXPECT_EQ(cs->GetColorGreen(), 0);
    EXPECT_EQ(cs->GetColorBlue(), 0);
    TColor presetSeen = 1;
    TZentScripterUI::ColorDialog() = [&](TColor &c) {
        presetSeen = c;
        c = ColorRGB(0, 0, 255);
        return true;
    };
    EXPECT_TRUE(ShowAnd(ui, [&](QDialog &) {
        auto *panel = qobject_cast<QLabel *>(cs->Control.data());
        EXPECT_EQ(panel->text(), "Click to choose");
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(panel, &press);
        return true;
    }));
    EXPECT_EQ(presetSeen, 255u);
    EXPECT_EQ(cs->Color, ColorRGB(0, 0, 255));
    EXPECT_EQ(cs->GetColorBlue(), 255);
}

TEST_F(DialogTest, CancelLeavesEveryPropertyAsItWas)
{
    TZentScripterUI ui;
    auto *te = ui.AddTextEdit();
    te->SetPosition(5, 5, 100, 20);
    te->Text = "before";
    auto *cb = ui.AddCheckbox();
    cb->Caption = "Check";
    auto *dl = ui.AddDropList();
    dl->AddItem("a");
    dl->AddItem("b");
    dl->Text = "a";
    EXPECT_FALSE(ShowAnd(ui, [&](QDialog &) {
        qobject_cast<QLineEdit *>(te->Control.data())->setText("after");
        EXPECT_EQ(te->GetText(), "after");
        qobject_cast<QCheckBox *>(cb->Control.data())->setChecked(true);
        qobject_cast<QComboBox *>(dl->Control.data())->setCurrentIndex(1);
        EXPECT_EQ(dl->GetText(), "b");
        return false;
    }));
    EXPECT_EQ(te->Text, "before");
    EXPECT_EQ(te->GetText(), "before");
    EXPECT_FALSE(cb->Checked);
    EXPECT_EQ(dl->Text, "a");

    EXPECT_TRUE(ShowAnd(ui, [&](QDialog &) {
        qobject_cast<QLineEdit *>(te->Control.data())->setText("after");
        qobject_cast<QCheckBox *>(cb->Control.data())->setChecked(true);
        return true;
    }));
    EXPECT_EQ(te->Text, "after");
    EXPECT_TRUE(cb->Checked);
}

TEST_F(DialogTest, ComboWithUnknownTextStaysEmpty)
{
    TZentScripterUI ui;
    auto *co = ui.AddCombo();
    co->AddItem("x");
    co->Text = "zzz";
    EXPECT_TRUE(ShowAnd(ui, [&](QDialog &) {
        EXPECT_EQ(co->GetText(), "");
        return true;
    }));
    EXPECT_EQ(co->Text, "");
}

TEST_F(DialogTest, OutsideShowModalBuildAndGatherDoNothing)
{
    TZentScripterUI ui;
    auto *te = ui.AddTextEdit();
    te->Text = "kept";
    ui.BuildComponents();
    ui.GatherComponentValues();
    EXPECT_EQ(te->Control, nullptr);
    EXPECT_EQ(te->Text, "kept");
}

TEST_F(DialogTest, FilterFromMask)
{
    EXPECT_EQ(QtFilterFromMask("Kalvion Plugins (*.VexaScript,*.vbs)|*.vbs;*.VexaScript|All Files (*.*)|*.*"),
              "Kalvion Plugins (*.VexaScript,*.vbs) (*.vbs *.VexaScript);;All Files (*.*) (*.*)");
    EXPECT_EQ(QtFilterFromMask(""), "");
}

TEST_F(DialogTest, ScriptBuildsAndReadsADialog)
{
    TScriptRegistry reg;
    RegisterScriptDialogNames(reg, TDialogDisplay::Window);
    ZSUI_WindowCaption() = "Namer (Plugin)";
    vbs::Interpreter in;
    vbs::RegistryNames names(reg);
    in.Names = &names;
    QTimer::singleShot(0, [] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Namer (Plugin)");
        d->findChild<QLineEdit *>()->setText("Vega");
        d->findChild<QPushButton *>("OkButton")->click();
    });
    in.Execute("Set d = NewDialogWindow()\n"
               "Set e = d.AddTextEdit()\n"
               "e.SetPosition 10, 10, 200, 22\n"
               "e.Text = \"name\"\n"
               "ok = d.ShowModal()\n"
               "If d.Caption <> \"Namer (Plugin)\" Then Err.Raise 1000\n"
               "If Not ok Or e.Text <> \"Vega\" Then Err.Raise 1001\n"
               "If ZSUI_TRACKBAR <> 11 Or ZSUI_SIZE_BROWSEBUTTONWIDTH <> 90 Then Err.Raise 1002\n"
               "Set w = TZentScripterUIWidget.Create\n"
               "w.Color = 255\n"
               "If w.GetColorRed() <> 255 Or w.GetColorGreen() <> 0 Then Err.Raise 1003\n");
    ReleaseScriptDialogs();
}

} // namespace
