// A script's Print in the main window goes to the "Print Sector" window's
// printer, as "&Print" does; and a script frees the dialogs it made.
#include "PluginWindowFixture.h"

#include "app/pictures/PrintSectorDialog.h"
#include "graphics/SectorPrint.h"
#include "model/StellarBody.h"

#include <QPrinter>
#include <QRegularExpression>

namespace kalvion::app::test {
namespace {

int PdfPageCount(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return static_cast<int>(QString::fromLatin1(f.readAll()).count(page));
}

TEST_F(PluginWindow, AScriptPrintsThroughTheWindowsPrinter)
{
    Open();
    TVexaSector &s = window->Sector();
    s.SizeX = 40;
    s.SizeY = 20;
    for (int i = 0; i < 5; ++i) {
        auto b = TStellarBody::Create();
        b->Name = "Star " + std::to_string(i);
        b->TypeID = 1;
        b->X = i - 2;
        s.AddSystem(std::move(b));
    }
    QPrinter &printer = window->PrintDialog().Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    const QString pdf = dir.filePath(QStringLiteral("script.pdf"));
    printer.setOutputFileName(pdf);
    const int expected = static_cast<int>(
        PrintLayout(40, 20, TPrintPage{printer.width(), printer.height(), printer.logicalDpiX()}, 2.5).Offsets.size());
    ASSERT_GT(expected, 1);

    // Printed, and counted without printing (preview).
    const QString file = Write(QStringLiteral("print.vbs"),
                               QStringLiteral("Set s = GetCurrentSector()\n"
                                              "n = s.Print(False, 2.5, 1, True, True, True, 1, 1, 0)\n"
                                              "p = s.Print(True, 2.5, 1, True, True, True, 1, 1, 0)\n"
                                              "MsgBox n & \"|\" & p\n"));
    auto from = LogSize();
    EXPECT_TRUE(window->RunScriptFile(file));
    EXPECT_EQ(Told(from), QStringList{QStringLiteral("Kalvion: %1|%1").arg(expected)});
    EXPECT_EQ(PdfPageCount(pdf), expected);

    // A PDF printer without a file asks for one, as the menu command does;
    // the printer forgets it afterwards.
    printer.setOutputFileName(QString());
    const QString asked = dir.filePath(QStringLiteral("asked.pdf"));
    messages.Inner.Push(asked);
    from = LogSize();
    EXPECT_TRUE(window->RunScriptFile(file));
    EXPECT_EQ(Told(from), QStringList{QStringLiteral("Kalvion: %1|%1").arg(expected)});
    EXPECT_EQ(PdfPageCount(asked), expected);
    EXPECT_TRUE(printer.outputFileName().isEmpty());

    // Values no print dialog offers stop the script before anything prints.
    for (const char *bad : {"0, 1", "1E+300, 1", "1, 7"}) {
        const QString call = QStringLiteral("n = GetCurrentSector().Print(False, %1, True, True, True, 1, 1, 0)\n")
                                 .arg(QString::fromLatin1(bad));
        from = LogSize();
        EXPECT_FALSE(window->RunScriptFile(Write(QStringLiteral("bad.vbs"), call)));
        const QStringList told = Told(from);
        ASSERT_EQ(told.size(), 1) << bad;
        EXPECT_TRUE(told[0].startsWith(QStringLiteral("Script Error: Print: "))) << told[0].toStdString();
    }
}

TEST_F(PluginWindow, FreeObjectFreesTheScriptsDialogsOnly)
{
    Open();
    const QString file = Write(QStringLiteral("free.vbs"),
                               QStringLiteral("Set d = NewDialogWindow()\nSet e = d.AddTextEdit()\n"
                                              "Set w = TZentScripterUIWidget.Create\nFreeObject e\nFreeObject w\n"
                                              "MsgBox isNull(e) & \"|\" & isNull(w) & \"|\" & isNull(d)\n"
                                              "FreeObject d\nMsgBox isNull(d)\nFreeObject GetCurrentSector()\n"));
    const auto from = LogSize();
    EXPECT_FALSE(window->RunScriptFile(file));
    const QStringList told = Told(from);
    ASSERT_EQ(told.size(), 3);
    EXPECT_EQ(told[0], QStringLiteral("Kalvion: True|True|False"));
    EXPECT_EQ(told[1], QStringLiteral("Kalvion: True"));
    EXPECT_TRUE(told[2].contains(QStringLiteral("belongs to the program"))) << told[2].toStdString();
}

} // namespace
} // namespace kalvion::app::test
