#pragma once
// The program's answers come from a person: Qt's message boxes and choosers
// over the main window.
#include "app/AppMessages.h"

#include <QPointer>
#include <QWidget>

namespace kalvion::app {

class TQtMessages final : public TAppMessages {
public:
    explicit TQtMessages(QWidget *parent = nullptr) : FParent(parent) {}
    void SetParent(QWidget *parent) { FParent = parent; }
    // The colour dialog's sixteen custom colours, kept between uses.
    static QColor CustomColor(int index);
    static void SetCustomColor(int index, QColor colour);

    void Tell(const QString &text, const QString &caption, TMsgIcon icon) override;
    TMsgAnswer Ask(const QString &text, const QString &caption, TMsgButtons buttons, TMsgIcon icon) override;
    std::optional<QString> InputBox(const QString &caption, const QString &prompt, const QString &initial) override;
    std::optional<QString> OpenFileName(const QString &caption, const QString &filter,
                                        const QString &initialPath) override;
    std::optional<QString> SaveFileName(const QString &caption, const QString &filter, const QString &initialPath,
                                        const QString &defaultExt) override;
    std::optional<QString> FolderName(const QString &caption, const QString &initialFolder) override;
    std::optional<TColor> ChooseColor(TColor initial) override;

private:
    QPointer<QWidget> FParent;
};

} // namespace kalvion::app
