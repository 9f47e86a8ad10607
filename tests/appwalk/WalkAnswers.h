#pragma once
// The answers of a user who clicks whatever is offered: every question,
// input box and chooser of the window is answered from the walk's seeded
// generator.  Sector files are picked from, and saved into, the walk's
// sectors folder; every other file goes to its output folder.
#include "app/AppMessages.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace kalvion::app::test {

// A small generator of our own: the same steps on every library.
class TWalkRandom {
public:
    explicit TWalkRandom(std::uint64_t seed) : FState(seed * 0x9E3779B97F4A7C15ull + 1) {}
    std::uint32_t Next()
    {
        FState ^= FState << 13;
        FState ^= FState >> 7;
        FState ^= FState << 17;
        return static_cast<std::uint32_t>(FState >> 16);
    }
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
    bool OneIn(int n) { return Below(n) == 0; }

private:
    std::uint64_t FState;
};

class TWalkAnswers final : public TAppMessages {
public:
    TWalkAnswers(TWalkRandom &random, QString sectors, QString output)
        : FRandom(random), FSectors(std::move(sectors)), FOutput(std::move(output))
    {
    }
    // Every answer and message of the step, for the replay listing.
    QStringList &Trace() { return FTrace; }
    // While set, questions get "Yes" and the sector's save chooser the
    // file named here (the walk's own save between steps).
    QString SaveAllTo;
    // Messages told since the last look, with their captions.
    QStringList Told;
    // Files given to save choosers since the last look: the user chose to
    // write them, over what was there.
    QStringList Chosen;

    void Tell(const QString &text, const QString &caption, TMsgIcon) override
    {
        Told << caption + QLatin1String(": ") + text;
        FTrace << QLatin1String("  told ") + caption + QLatin1String(": ") + text.left(120);
    }
    TMsgAnswer Ask(const QString &text, const QString &caption, TMsgButtons buttons, TMsgIcon) override
    {
        TMsgAnswer a = TMsgAnswer::Yes;
        if (SaveAllTo.isEmpty()) {
            switch (buttons) {
            case TMsgButtons::Ok: a = TMsgAnswer::Ok; break;
            case TMsgButtons::OkCancel: a = FRandom.OneIn(2) ? TMsgAnswer::Ok : TMsgAnswer::Cancel; break;
            case TMsgButtons::YesNo: a = FRandom.OneIn(2) ? TMsgAnswer::Yes : TMsgAnswer::No; break;
            case TMsgButtons::YesNoCancel: {
                const TMsgAnswer all[] = {TMsgAnswer::Yes, TMsgAnswer::No, TMsgAnswer::Cancel};
                a = all[FRandom.Below(3)];
                break;
            }
            }
        } else if (buttons == TMsgButtons::Ok || buttons == TMsgButtons::OkCancel) {
            a = TMsgAnswer::Ok;
        }
        static const char *const names[] = {"Ok", "Cancel", "Yes", "No"};
        FTrace << QStringLiteral("  asked %1: %2 -> %3").arg(caption, text.left(100), names[static_cast<int>(a)]);
        return a;
    }
    std::optional<QString> InputBox(const QString &caption, const QString &, const QString &initial) override
    {
        std::optional<QString> a;
        if (!FRandom.OneIn(3))
            a = FRandom.OneIn(2) ? initial : QStringLiteral("Walk %1").arg(FRandom.Below(100));
        FTrace << QStringLiteral("  input %1 -> %2").arg(caption, a ? *a : QStringLiteral("(cancel)"));
        return a;
    }
    std::optional<QString> OpenFileName(const QString &caption, const QString &, const QString &) override
    {
        std::optional<QString> a;
        const QStringList files = QDir(FSectors).entryList(QDir::Files, QDir::Name);
        if (!files.isEmpty() && !FRandom.OneIn(5))
            a = FSectors + QLatin1Char('/') + files[FRandom.Below(static_cast<int>(files.size()))];
        FTrace << QStringLiteral("  open %1 -> %2").arg(caption, a ? QDir(FSectors).relativeFilePath(*a) : QStringLiteral("(cancel)"));
        return a;
    }
    std::optional<QString> SaveFileName(const QString &caption, const QString &, const QString &,
                                        const QString &defaultExt) override
    {
        std::optional<QString> a;
        const bool sector = defaultExt.compare(QLatin1String(".VexaDB"), Qt::CaseInsensitive) == 0;
        if (!SaveAllTo.isEmpty() && sector)
            a = SaveAllTo;
        else if (sector && !FRandom.OneIn(5))
            a = FSectors + QStringLiteral("/Walk%1.VexaDB").arg(FRandom.Below(4));
        else if (!sector && !FRandom.OneIn(4))
            a = FOutput + QStringLiteral("/out%1").arg(FRandom.Below(100)) + defaultExt;
        if (a)
            Chosen << QFileInfo(*a).absoluteFilePath();
        FTrace << QStringLiteral("  save %1 -> %2").arg(caption, a ? *a : QStringLiteral("(cancel)"));
        return a;
    }
    std::optional<QString> FolderName(const QString &caption, const QString &) override
    {
        std::optional<QString> a;
        if (!FRandom.OneIn(3))
            a = FOutput;
        FTrace << QStringLiteral("  folder %1 -> %2").arg(caption, a ? QStringLiteral("output") : QStringLiteral("(cancel)"));
        return a;
    }
    std::optional<TColor> ChooseColor(TColor) override
    {
        if (FRandom.OneIn(3))
            return std::nullopt;
        return static_cast<TColor>(FRandom.Next() & 0xFFFFFF);
    }

private:
    TWalkRandom &FRandom;
    QString FSectors, FOutput;
    QStringList FTrace;
};

} // namespace kalvion::app::test
