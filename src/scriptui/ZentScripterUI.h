#pragma once
// Dialogs that scripts describe as a list of widgets, show once and read back.
// The description objects need no window; the window and its controls exist
// only while ShowModal runs.
#include "base/Colour.h"

#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QWidget;

namespace kalvion {

inline constexpr int ZSUI_BUTTON = 1;
inline constexpr int ZSUI_TEXTEDIT = 2;
inline constexpr int ZSUI_LABEL = 3;
inline constexpr int ZSUI_CHECKBOX = 4;
inline constexpr int ZSUI_RADIOGROUP = 5;
inline constexpr int ZSUI_MEMO = 6;
inline constexpr int ZSUI_LISTBOX = 7;
inline constexpr int ZSUI_DROPLIST = 8;
inline constexpr int ZSUI_COMBO = 9;
inline constexpr int ZSUI_GROUPBOX = 10;
inline constexpr int ZSUI_TRACKBAR = 11;
inline constexpr int ZSUI_IMAGE = 12;
inline constexpr int ZSUI_FILEOPEN = 101;
inline constexpr int ZSUI_FILESAVE = 102;
inline constexpr int ZSUI_COLOR = 103;
inline constexpr const char *ZSUI_MSG_COLORSELECT = "Click to choose";
inline constexpr const char *ZSUI_MSG_FILESELECT = "browse...";
inline constexpr int ZSUI_SIZE_BROWSEBUTTONWIDTH = 90;

// The program-wide window title of script dialogs ("ZSUI_WindowCaption").
std::string &ZSUI_WindowCaption();

class TZentScripterUIWidget {
public:
    TZentScripterUIWidget();
    ~TZentScripterUIWidget();

    int Top = 0, Left = 0, Width = 0, Height = 0;
    std::string Text;
    std::string Caption;
    bool Checked = false;
    int Columns = 0;
    TColor Color = 0;
    std::string FileMask;
    std::string FileName;
    int MinValue = 0, MaxValue = 0, Position = 0;
    std::string ImageFileName;
    bool Fit = false;

    int WidgetType = 0;
    std::vector<std::string> Items;
    QPointer<QWidget> Control; // while the window is shown
    QPointer<QWidget> Edit;    // file pickers: the edit beside the button

    void AddItem(const std::string &s) { Items.push_back(s); }
    void SetPosition(int left, int top, int width, int height);
    std::string GetText() const;
    int GetColorRed() const { return kalvion::ColorRed(Color); }
    int GetColorGreen() const { return kalvion::ColorGreen(Color); }
    int GetColorBlue() const { return kalvion::ColorBlue(Color); }

    std::weak_ptr<void> LifetimeToken() const { return FLife; }

private:
    std::shared_ptr<int> FLife = std::make_shared<int>(0);
};

class TZentScripterUI {
public:
    TZentScripterUI();
    ~TZentScripterUI();

    int Top = 200, Left = 200, Width = 500, Height = 400;
    bool Centered = false;
    std::string Caption = "Plugin";

    std::vector<std::unique_ptr<TZentScripterUIWidget>> Widgets;

    void SetPosition(int left, int top, int width, int height);
    TZentScripterUIWidget *AddWidget(int type);
    TZentScripterUIWidget *AddTextEdit() { return AddWidget(ZSUI_TEXTEDIT); }
    TZentScripterUIWidget *AddLabel() { return AddWidget(ZSUI_LABEL); }
    TZentScripterUIWidget *AddCheckbox() { return AddWidget(ZSUI_CHECKBOX); }
    TZentScripterUIWidget *AddRadioGroup() { return AddWidget(ZSUI_RADIOGROUP); }
    TZentScripterUIWidget *AddMemo() { return AddWidget(ZSUI_MEMO); }
    TZentScripterUIWidget *AddListbox() { return AddWidget(ZSUI_LISTBOX); }
    TZentScripterUIWidget *AddDropList() { return AddWidget(ZSUI_DROPLIST); }
    TZentScripterUIWidget *AddCombo() { return AddWidget(ZSUI_COMBO); }
    TZentScripterUIWidget *AddGroupBox() { return AddWidget(ZSUI_GROUPBOX); }
    TZentScripterUIWidget *AddTrackBar() { return AddWidget(ZSUI_TRACKBAR); }
    TZentScripterUIWidget *AddImage() { return AddWidget(ZSUI_IMAGE); }
    TZentScripterUIWidget *AddFileOpen() { return AddWidget(ZSUI_FILEOPEN); }
    TZentScripterUIWidget *AddFileSave() { return AddWidget(ZSUI_FILESAVE); }
    TZentScripterUIWidget *AddColorSelector() { return AddWidget(ZSUI_COLOR); }

    // Builds the window, waits until it closes; true when closed with OK.
    bool ShowModal();
    // The two halves of ShowModal.  Outside ShowModal there is no window: the
    // first does nothing and the second copies nothing.
    void BuildComponents();
    void GatherComponentValues();

    QDialog *Window() const { return FForm; }
    std::weak_ptr<void> LifetimeToken() const { return FLife; }

    // The host's colour dialog (shared custom colours); when unset the window
    // uses its own.  Returns true when the user chose a colour.
    static std::function<bool(TColor &color)> &ColorDialog();
    // Replaces the file dialogs (tests); returns the chosen path or nothing.
    static std::function<std::optional<std::string>(bool save, const std::string &filter, const std::string &initial)> &
    FileDialog();

private:
    void BuildControl(TZentScripterUIWidget &w);
    QDialog *FForm = nullptr;
    std::shared_ptr<int> FLife = std::make_shared<int>(0);
};

// "desc|pat;pat|desc|pat" to Qt's "desc (pat pat);;desc (pat)".
std::string QtFilterFromMask(const std::string &mask);

// Whether the program that registers the dialog names can show dialogs.
enum class TDialogDisplay { Window, Headless };

// Registers the dialog classes, NewDialogWindow, ZSUI_WindowCaption and the
// ZSUI_ constants.  Headless (and in any program without a widget
// application) ShowModal is a script error that says it needs the main
// window; everything else works the same.  Dialogs and free widgets made by
// scripts live until FreeObject or ReleaseScriptDialogs (called by the host
// after a run).
void RegisterScriptDialogNames(class TScriptRegistry &reg, TDialogDisplay display);
void ReleaseScriptDialogs();

} // namespace kalvion
