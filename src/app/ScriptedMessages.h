#pragma once
// Answers taken from a list instead of a person: tests set the answers in
// code, end-to-end runs name a file of answers in KALVION_ANSWERS_FILE.
// Every question is logged, with its text, so a test can check what was
// asked.  With no answer left a question gets the answer that changes
// nothing (Cancel, No, nothing chosen).
#include "app/AppMessages.h"

#include <QStringList>

#include <deque>

namespace kalvion::app {

class TScriptedMessages final : public TAppMessages {
public:
    // Answers: "Yes", "No", "Ok", "Cancel", or a text for input boxes and
    // file or folder choosers ("" for a cancelled chooser is "Cancel").  A
    // colour answer is a number 0x00BBGGRR.
    void Push(const QString &answer) { FAnswers.push_back(answer); }
    // Reads one answer a line; false when the file cannot be read.
    bool LoadFile(const QString &path);
    // Where every question is appended as it is asked (one line each).
    void SetLogFile(const QString &path) { FLogFile = path; }

    const QStringList &Log() const { return FLog; }
    // A line of the log that is not a question (where the window's parts
    // lie on the screen, for end-to-end runs that click into them).
    void Note(const QString &kind, const QString &text) { Record(kind, QString(), text); }

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
    void Record(const QString &kind, const QString &caption, const QString &text);
    std::optional<QString> Next();
    std::optional<QString> Chosen();

    std::deque<QString> FAnswers;
    QStringList FLog;
    QString FLogFile;
};

} // namespace kalvion::app
