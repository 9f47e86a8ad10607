#include "app/ScriptedMessages.h"

#include <QFile>
#include <QTextStream>

namespace kalvion::app {

QString QtFileFilter(const QString &programFilter)
{
    const QStringList parts = programFilter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

bool TScriptedMessages::LoadFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&f);
    while (!in.atEnd())
        FAnswers.push_back(in.readLine());
    return true;
}

void TScriptedMessages::Record(const QString &kind, const QString &caption, const QString &text)
{
    const QString line = kind + QLatin1Char('\t') + caption + QLatin1Char('\t') + text;
    FLog << line;
    if (FLogFile.isEmpty())
        return;
    QFile f(FLogFile);
    if (f.open(QIODevice::Append | QIODevice::Text)) {
        QString flat = line;
        flat.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        f.write(flat.toUtf8() + '\n');
    }
}

std::optional<QString> TScriptedMessages::Next()
{
    if (FAnswers.empty())
        return std::nullopt;
    QString a = FAnswers.front();
    FAnswers.pop_front();
    return a;
}

std::optional<QString> TScriptedMessages::Chosen()
{
    auto a = Next();
    if (!a || a->isEmpty() || *a == QLatin1String("Cancel"))
        return std::nullopt;
    return a;
}

void TScriptedMessages::Tell(const QString &text, const QString &caption, TMsgIcon)
{
    Record(QStringLiteral("tell"), caption, text);
}

TMsgAnswer TScriptedMessages::Ask(const QString &text, const QString &caption, TMsgButtons buttons, TMsgIcon)
{
    Record(QStringLiteral("ask"), caption, text);
    const auto a = Next();
    const bool hasCancel = buttons == TMsgButtons::OkCancel || buttons == TMsgButtons::YesNoCancel;
    const TMsgAnswer nothing = hasCancel ? TMsgAnswer::Cancel
                               : buttons == TMsgButtons::YesNo ? TMsgAnswer::No
                                                               : TMsgAnswer::Ok;
    if (!a)
        return nothing;
    if (*a == QLatin1String("Yes") && (buttons == TMsgButtons::YesNo || buttons == TMsgButtons::YesNoCancel))
        return TMsgAnswer::Yes;
    if (*a == QLatin1String("No") && (buttons == TMsgButtons::YesNo || buttons == TMsgButtons::YesNoCancel))
        return TMsgAnswer::No;
    if (*a == QLatin1String("Ok") && (buttons == TMsgButtons::Ok || buttons == TMsgButtons::OkCancel))
        return TMsgAnswer::Ok;
    return nothing;
}

std::optional<QString> TScriptedMessages::InputBox(const QString &caption, const QString &prompt, const QString &)
{
    Record(QStringLiteral("input"), caption, prompt);
    auto a = Next();
    if (!a || *a == QLatin1String("Cancel"))
        return std::nullopt;
    return a;
}

std::optional<QString> TScriptedMessages::OpenFileName(const QString &caption, const QString &, const QString &)
{
    Record(QStringLiteral("open"), caption, QString());
    return Chosen();
}

std::optional<QString> TScriptedMessages::SaveFileName(const QString &caption, const QString &, const QString &,
                                                       const QString &)
{
    Record(QStringLiteral("save"), caption, QString());
    return Chosen();
}

std::optional<QString> TScriptedMessages::FolderName(const QString &caption, const QString &)
{
    Record(QStringLiteral("folder"), caption, QString());
    return Chosen();
}

std::optional<TColor> TScriptedMessages::ChooseColor(TColor)
{
    Record(QStringLiteral("color"), QString(), QString());
    const auto a = Chosen();
    if (!a)
        return std::nullopt;
    bool ok = false;
    const uint v = a->toUInt(&ok, 0);
    if (!ok || v > 0xFFFFFFu)
        return std::nullopt;
    return static_cast<TColor>(v);
}

} // namespace kalvion::app
