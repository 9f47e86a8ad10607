#pragma once
// The main window as the host of the names scripts reach: its sector, its
// caption and views, its current body, its keyboard and the context a
// plug-in of each kind runs with.
#include "scriptnames/ScriptAppHost.h"

#include <QObject>

#include <deque>
#include <functional>

namespace kalvion::app {

class TfrmVexaMain;

class TWindowScriptHost final : public QObject, public TScriptAppHost {
public:
    explicit TWindowScriptHost(TfrmVexaMain &window);
    ~TWindowScriptHost() override;

    bool HasWindow() const override { return true; }
    TVexaSector *CurrentSector() override;
    void ClearMap() override;
    void UpdateCaption() override;
    void RefreshScene() override;
    TStellarBody *EditingBody() override;
    void DeselectEditingBody() override;
    void EditBody(TStellarBody *body) override;
    void ShowSystemDiagram(TStellarBody *body) override;
    void SetMainWindowSize(int width, int height) override;
    // Prints through the "Print Sector" window's printer, as "&Print" does.
    int PrintSector(TVexaSector &sector, bool preview, double pagesAcross, int colourMode, bool showGrid,
                    bool scaleByDepth, bool showRoutes, double systemFactor, double labelFactor, int plane) override;
    void ProcessMessages() override;
    int GetKey() override;
    std::string ProgramDirectory() const override;
    std::string FileHandlerFileName() const override { return HandlerFile; }
    // From the random-table program's installation record, read when asked.
    std::string IdealoomTablesFolder() const override;

    // The file a file-handler plug-in is opening; empty otherwise.
    std::string HandlerFile;
    // The body property dialog and the system diagram window, where the
    // program has them; without them the routines are script errors.
    std::function<void(TStellarBody *)> OnEditBody;
    std::function<void(TStellarBody *)> OnShowSystemDiagram;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void QueueKey(int code);
    TfrmVexaMain &FWindow;
    std::deque<int> FKeys;
};

// The script language's key code of a Qt key (Escape 27, Enter 13, arrows
// 37–40, letters 65–90, digits 48–57, Shift 16, Control 17, Alt 18, the
// keypad's digits 96–105); -1 for a key it has none for.
int ScriptKeyCode(int qtKey, bool keypad = false);

} // namespace kalvion::app
