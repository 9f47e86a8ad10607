#pragma once
// Every message box, question, input box and file, folder or colour chooser
// of the window layer goes through this interface.  The program answers
// with Qt dialogs; tests and scripted runs answer from a list, so nothing
// ever waits on a modal window that nobody can see.
#include "base/Colour.h"

#include <QString>

#include <optional>

namespace kalvion::app {

enum class TMsgIcon { None, Information, Warning, Question, Error };
enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMsgAnswer { Ok, Cancel, Yes, No };

// File filters keep the program's own form: "Caption|*.ext|Caption|*.ext".
class TAppMessages {
public:
    virtual ~TAppMessages() = default;

    virtual void Tell(const QString &text, const QString &caption, TMsgIcon icon) = 0;
    virtual TMsgAnswer Ask(const QString &text, const QString &caption, TMsgButtons buttons, TMsgIcon icon) = 0;
    // Empty when cancelled.
    virtual std::optional<QString> InputBox(const QString &caption, const QString &prompt,
                                            const QString &initial) = 0;
    virtual std::optional<QString> OpenFileName(const QString &caption, const QString &filter,
                                                const QString &initialPath) = 0;
    virtual std::optional<QString> SaveFileName(const QString &caption, const QString &filter,
                                                const QString &initialPath, const QString &defaultExt) = 0;
    virtual std::optional<QString> FolderName(const QString &caption, const QString &initialFolder) = 0;
    virtual std::optional<TColor> ChooseColor(TColor initial) = 0;

    void Tell(const QString &text) { Tell(text, QStringLiteral("Kalvion"), TMsgIcon::Information); }
};

// "A|*.a|B|*.b" to Qt's "A (*.a);;B (*.b)".
QString QtFileFilter(const QString &programFilter);

} // namespace kalvion::app
