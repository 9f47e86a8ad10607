// The script names of the dialog unit: the two classes with their methods and
// published properties, NewDialogWindow, ZSUI_WindowCaption and the constants.
#include "scripting/ScriptRegistry.h"
#include "scriptui/ZentScripterUI.h"

#include <QApplication>

#include <algorithm>
#include <stdexcept>

namespace kalvion {

namespace {

// Dialogs and free widgets made by scripts; released after the run or by
// FreeObject.
std::vector<std::unique_ptr<TZentScripterUI>> &Dialogs()
{
    static std::vector<std::unique_ptr<TZentScripterUI>> d;
    return d;
}
std::vector<std::unique_ptr<TZentScripterUIWidget>> &FreeWidgets()
{
    static std::vector<std::unique_ptr<TZentScripterUIWidget>> w;
    return w;
}

// References carry the class of the registry that made them: each
// registration keeps its own two classes.
struct TDialogClasses {
    const TScriptClassInfo *Dialog = nullptr;
    const TScriptClassInfo *Widget = nullptr;
    TScriptValue Ref(TZentScripterUI *d) const
    {
        return TScriptValue::FromObject(TScriptObjectRef(d, Dialog, d->LifetimeToken()));
    }
    TScriptValue Ref(TZentScripterUIWidget *w) const
    {
        return TScriptValue::FromObject(TScriptObjectRef(w, Widget, w->LifetimeToken()));
    }
};

TZentScripterUI *NewDialog()
{
    Dialogs().push_back(std::make_unique<TZentScripterUI>());
    return Dialogs().back().get();
}

[[noreturn]] void ShowingNow(const char *what)
{
    throw std::runtime_error(std::string("FreeObject: the ") + what + " is on the screen and cannot be freed");
}

// FreeObject of a dialog the script made: its widgets go with it.
bool FreeDialog(void *p)
{
    auto &d = Dialogs();
    const auto it = std::find_if(d.begin(), d.end(), [p](const auto &u) { return u.get() == p; });
    if (it == d.end())
        return false;
    if ((*it)->Window())
        ShowingNow("dialog");
    d.erase(it);
    return true;
}

// FreeObject of a widget: a free one, or one of a script dialog, which then
// shows without it.
bool FreeWidget(void *p)
{
    auto &free = FreeWidgets();
    const auto it = std::find_if(free.begin(), free.end(), [p](const auto &u) { return u.get() == p; });
    if (it != free.end()) {
        free.erase(it);
        return true;
    }
    for (auto &dialog : Dialogs()) {
        auto &w = dialog->Widgets;
        const auto wit = std::find_if(w.begin(), w.end(), [p](const auto &u) { return u.get() == p; });
        if (wit == w.end())
            continue;
        if (dialog->Window())
            ShowingNow("dialog of this widget");
        w.erase(wit);
        return true;
    }
    return false;
}

bool CanShowDialogs(TDialogDisplay display)
{
    // A window needs the widget application, whatever the host says.
    return display == TDialogDisplay::Window && qobject_cast<QApplication *>(QCoreApplication::instance());
}

template <class T, class M>
void IntProp(TScriptRegistry &reg, const char *cls, const char *name, M T::*m)
{
    reg.AddProperty(
        cls, name, ArgOf(TScriptType::Integer),
        [m](void *s) { return TScriptValue::FromInt(static_cast<T *>(s)->*m); },
        [m](void *s, const TScriptValue &v) { static_cast<T *>(s)->*m = static_cast<M>(v.Int); });
}
template <class T>
void StrProp(TScriptRegistry &reg, const char *cls, const char *name, std::string T::*m)
{
    reg.AddProperty(
        cls, name, ArgOf(TScriptType::String), [m](void *s) { return TScriptValue::FromString(static_cast<T *>(s)->*m); },
        [m](void *s, const TScriptValue &v) { static_cast<T *>(s)->*m = v.Str; });
}
template <class T>
void BoolProp(TScriptRegistry &reg, const char *cls, const char *name, bool T::*m)
{
    reg.AddProperty(
        cls, name, ArgOf(TScriptType::Boolean), [m](void *s) { return TScriptValue::FromBool(static_cast<T *>(s)->*m); },
        [m](void *s, const TScriptValue &v) { static_cast<T *>(s)->*m = v.AsBool(); });
}

} // namespace

void ReleaseScriptDialogs()
{
    Dialogs().clear();
    FreeWidgets().clear();
}

void RegisterScriptDialogNames(TScriptRegistry &reg, TDialogDisplay display)
{
    const char *D = "TZentScripterUI";
    const char *W = "TZentScripterUIWidget";
    TScriptClassInfo *dialogClass = reg.AddClass(D);
    TScriptClassInfo *widgetClass = reg.AddClass(W);
    if (!dialogClass || !widgetClass)
        return;
    const TDialogClasses cls{dialogClass, widgetClass};
    if (!dialogClass->Destroy)
        dialogClass->Destroy = FreeDialog;
    if (!widgetClass->Destroy)
        widgetClass->Destroy = FreeWidget;

    reg.AddConstructor(D, [cls] { return cls.Ref(NewDialog()).Obj; });
    reg.AddConstructor(W, [cls] {
        FreeWidgets().push_back(std::make_unique<TZentScripterUIWidget>());
        return cls.Ref(FreeWidgets().back().get()).Obj;
    });
    reg.AddRoutine("NewDialogWindow", {}, ArgObj(D), [cls](TScriptArgs &) {
        TZentScripterUI *d = NewDialog();
        d->Caption = ZSUI_WindowCaption();
        return cls.Ref(d);
    });
    reg.AddVariable(
        "ZSUI_WindowCaption", ArgOf(TScriptType::String),
        [] { return TScriptValue::FromString(ZSUI_WindowCaption()); },
        [](const TScriptValue &v) { ZSUI_WindowCaption() = v.Str; });

    IntProp(reg, D, "Top", &TZentScripterUI::Top);
    IntProp(reg, D, "Left", &TZentScripterUI::Left);
    IntProp(reg, D, "Width", &TZentScripterUI::Width);
    IntProp(reg, D, "Height", &TZentScripterUI::Height);
    BoolProp(reg, D, "Centered", &TZentScripterUI::Centered);
    StrProp(reg, D, "Caption", &TZentScripterUI::Caption);

    const TScriptArg I = ArgOf(TScriptType::Integer);
    reg.AddMethod(D, "SetPosition", {I, I, I, I}, {}, [](void *s, TScriptArgs &a) {
        static_cast<TZentScripterUI *>(s)->SetPosition(static_cast<int>(a[0].Int), static_cast<int>(a[1].Int),
                                                        static_cast<int>(a[2].Int), static_cast<int>(a[3].Int));
        return TScriptValue::None();
    });
    const std::pair<const char *, int> adders[] = {
        {"AddTextEdit", ZSUI_TEXTEDIT}, {"AddLabel", ZSUI_LABEL},           {"AddCheckbox", ZSUI_CHECKBOX},
        {"AddRadioGroup", ZSUI_RADIOGROUP}, {"AddMemo", ZSUI_MEMO},        {"AddListbox", ZSUI_LISTBOX},
        {"AddDropList", ZSUI_DROPLIST}, {"AddCombo", ZSUI_COMBO},           {"AddGroupBox", ZSUI_GROUPBOX},
        {"AddTrackBar", ZSUI_TRACKBAR}, {"AddImage", ZSUI_IMAGE},           {"AddFileOpen", ZSUI_FILEOPEN},
        {"AddFileSave", ZSUI_FILESAVE}, {"AddColorSelector", ZSUI_COLOR},
    };
    for (const auto &[name, type] : adders) {
        const int t = type;
        reg.AddMethod(D, name, {}, ArgObj(W), [t, cls](void *s, TScriptArgs &) {
            return cls.Ref(static_cast<TZentScripterUI *>(s)->AddWidget(t));
        });
    }
    // Without a window a dialog can be described, filled and read, but not shown.
    reg.AddMethod(D, "ShowModal", {}, ArgOf(TScriptType::Boolean), [display](void *s, TScriptArgs &) {
        if (!CanShowDialogs(display))
            throw std::runtime_error("ShowModal: needs the main window");
        return TScriptValue::FromBool(static_cast<TZentScripterUI *>(s)->ShowModal());
    });
    reg.AddMethod(D, "BuildComponents", {}, {}, [](void *s, TScriptArgs &) {
        static_cast<TZentScripterUI *>(s)->BuildComponents();
        return TScriptValue::None();
    });
    reg.AddMethod(D, "GatherComponentValues", {}, {}, [](void *s, TScriptArgs &) {
        static_cast<TZentScripterUI *>(s)->GatherComponentValues();
        return TScriptValue::None();
    });

    using WT = TZentScripterUIWidget;
    IntProp(reg, W, "Top", &WT::Top);
    IntProp(reg, W, "Left", &WT::Left);
    IntProp(reg, W, "Width", &WT::Width);
    IntProp(reg, W, "Height", &WT::Height);
    StrProp(reg, W, "Text", &WT::Text);
    StrProp(reg, W, "Caption", &WT::Caption);
    BoolProp(reg, W, "Checked", &WT::Checked);
    IntProp(reg, W, "Columns", &WT::Columns);
    reg.AddProperty(
        W, "Color", I, [](void *s) { return TScriptValue::FromInt(static_cast<WT *>(s)->Color); },
        [](void *s, const TScriptValue &v) { static_cast<WT *>(s)->Color = static_cast<TColor>(v.Int) & 0xFFFFFF; });
    StrProp(reg, W, "FileMask", &WT::FileMask);
    StrProp(reg, W, "FileName", &WT::FileName);
    IntProp(reg, W, "MinValue", &WT::MinValue);
    IntProp(reg, W, "MaxValue", &WT::MaxValue);
    IntProp(reg, W, "Position", &WT::Position);
    StrProp(reg, W, "ImageFileName", &WT::ImageFileName);
    BoolProp(reg, W, "Fit", &WT::Fit);
    reg.AddMethod(W, "AddItem", {ArgOf(TScriptType::String)}, {}, [](void *s, TScriptArgs &a) {
        static_cast<WT *>(s)->AddItem(a[0].Str);
        return TScriptValue::None();
    });
    reg.AddMethod(W, "GetText", {}, ArgOf(TScriptType::String),
                  [](void *s, TScriptArgs &) { return TScriptValue::FromString(static_cast<WT *>(s)->GetText()); });
    reg.AddMethod(W, "SetPosition", {I, I, I, I}, {}, [](void *s, TScriptArgs &a) {
        static_cast<WT *>(s)->SetPosition(static_cast<int>(a[0].Int), static_cast<int>(a[1].Int),
                                          static_cast<int>(a[2].Int), static_cast<int>(a[3].Int));
        return TScriptValue::None();
    });
    reg.AddMethod(W, "GetColorRed", {}, I, [](void *s, TScriptArgs &) {
        return TScriptValue::FromInt(static_cast<WT *>(s)->GetColorRed());
    });
    reg.AddMethod(W, "GetColorGreen", {}, I, [](void *s, TScriptArgs &) {
        return TScriptValue::FromInt(static_cast<WT *>(s)->GetColorGreen());
    });
    reg.AddMethod(W, "GetColorBlue", {}, I, [](void *s, TScriptArgs &) {
        return TScriptValue::FromInt(static_cast<WT *>(s)->GetColorBlue());
    });

    const std::pair<const char *, int> consts[] = {
        {"ZSUI_BUTTON", ZSUI_BUTTON},         {"ZSUI_TEXTEDIT", ZSUI_TEXTEDIT}, {"ZSUI_LABEL", ZSUI_LABEL},
        {"ZSUI_CHECKBOX", ZSUI_CHECKBOX},     {"ZSUI_RADIOGROUP", ZSUI_RADIOGROUP}, {"ZSUI_MEMO", ZSUI_MEMO},
        {"ZSUI_LISTBOX", ZSUI_LISTBOX},       {"ZSUI_DROPLIST", ZSUI_DROPLIST}, {"ZSUI_COMBO", ZSUI_COMBO},
        {"ZSUI_GROUPBOX", ZSUI_GROUPBOX},     {"ZSUI_TRACKBAR", ZSUI_TRACKBAR}, {"ZSUI_IMAGE", ZSUI_IMAGE},
        {"ZSUI_FILEOPEN", ZSUI_FILEOPEN},     {"ZSUI_FILESAVE", ZSUI_FILESAVE}, {"ZSUI_COLOR", ZSUI_COLOR},
        {"ZSUI_SIZE_BROWSEBUTTONWIDTH", ZSUI_SIZE_BROWSEBUTTONWIDTH},
    };
    for (const auto &[name, v] : consts)
        reg.AddConstant(name, TScriptValue::FromInt(v));
    reg.AddConstant("ZSUI_MSG_COLORSELECT", TScriptValue::FromString(ZSUI_MSG_COLORSELECT));
    reg.AddConstant("ZSUI_MSG_FILESELECT", TScriptValue::FromString(ZSUI_MSG_FILESELECT));
}

} // namespace kalvion
