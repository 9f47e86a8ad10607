// The File commands walked through the window's actions, as a user gives
// them, with the files on disk checked afterwards: a new document never
// writes into the file of the one before, a file that cannot be opened
// leaves the open sector alone, and older files are converted only when the
// user says so, under the name the user gives.
#include "../support/OlderSectorFile.h"
#include "../support/ScratchWindow.h"
#include "app/ActionTable.h"
#include "app/MainWindow.h"
#include "app/ScriptedMessages.h"

#include "files/AppFileStream.h"
#include "files/LegacyConvert.h"
#include "files/LegacySectorFiles.h"
#include "files/ObjectStreams.h"
#include "files/SectorFile.h"
#include "generation/NewSectorOptions.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::app;

namespace {

struct FileFlows : ::testing::Test, kalvion::app::test::TScratchWindow<TScriptedMessages> {
    void SetUp() override
    {
        PrepareScratch();
        OpenWindow();
    }
    QString Path(const QString &name) const { return dir.filePath(name); }
    void Trigger(const char *id)
    {
        QAction *a = window->Actions().Action(QString::fromLatin1(id));
        ASSERT_TRUE(a && a->isEnabled()) << id;
        a->trigger();
    }
    // File ▸ Open with the answers the command will ask for.
    void Open(const QStringList &answers)
    {
        for (const QString &a : answers)
            messages.Push(a);
        Trigger("File.Open");
    }
    // A sector file of stars "<stem> 0" … "<stem> n-1" with one saved view.
    QString MakeSector(const QString &name, int n)
    {
        TVexaSector s;
        for (int i = 0; i < n; ++i) {
            TStellarBody *b = s.NewSystem(1);
            b->Name = name.section(QLatin1Char('.'), 0, 0).toStdString() + " " + std::to_string(i);
            b->X = i;
        }
        s.UpdateRootAttribs();
        s.AddCurrentViewAsView("Home");
        s.Notes = "Rimward of the core";
        s.EpochYear = 3100;
        s.DateFormat = "yyyy";
        s.SizeX = 44;
        s.GridColor = 0x123456;
        s.BackgroundColor = 0x000010;
        s.BaseFont = "Arial";
        s.FilterHabitable = 1;
        s.SetField("era", "third");
        const QString file = Path(name);
        EXPECT_TRUE(SaveToFile(s, file.toStdString(), false));
        return file;
    }
    // The settings of a sector in their stream form.
    static std::vector<std::uint8_t> SettingsBytes(const TVexaSector &s)
    {
        auto stream = TAppFileStream::Memory();
        SaveSectorInfoToStream(s, *stream);
        return stream->Bytes();
    }
    static QByteArray Bytes(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The names of the systems a file holds, read afresh.
    static std::vector<std::string> NamesOnDisk(const QString &file)
    {
        TVexaSector s;
        std::string error;
        EXPECT_TRUE(LoadFromFile(s, file.toStdString(), &error)) << error;
        std::vector<std::string> names;
        for (const auto &root : s.Systems)
            names.push_back(root->Name);
        return names;
    }
    std::vector<std::string> NamesInWindow()
    {
        std::vector<std::string> names;
        for (const auto &root : window->Sector().Systems)
            names.push_back(root->Name);
        return names;
    }
    bool Told(const QString &caption, const QString &text) const
    {
        return messages.Log().contains(QStringLiteral("tell\t") + caption + QLatin1Char('\t') + text);
    }
    bool Asked(const QString &caption, const QString &text) const
    {
        return messages.Log().contains(QStringLiteral("ask\t") + caption + QLatin1Char('\t') + text);
    }
    QStringList SectorFilesInFolder() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("*.VexaDB")}, QDir::Files, QDir::Name);
    }
};

const QString kCorrupted = QString::fromLatin1(LEGACY_FILE_CORRUPTED);

} // namespace

TEST_F(FileFlows, BlankSectorIsANewDocumentThatSaveAsksToName)
{
    const QString a = MakeSector(QStringLiteral("A.VexaDB"), 3);
    Open({a});
    ASSERT_EQ(window->Sector().SystemCount(), 3);
    // Opened, the window holds all the file holds.
    {
        TVexaSector direct;
        ASSERT_TRUE(LoadFromFile(direct, a.toStdString()));
        EXPECT_EQ(SettingsBytes(window->Sector()), SettingsBytes(direct));
        EXPECT_EQ(window->Sector().EpochYear, 3100);
        EXPECT_EQ(window->Sector().BackgroundColor, direct.BackgroundColor);
        EXPECT_EQ(window->Sector().DateFormat, "yyyy");
    }
    const QByteArray before = Bytes(a);

    Trigger("File.NewBlank");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("(Untitled) Sector (0 Systems; 0 total bodies) "));
    const QString c = Path(QStringLiteral("C.VexaDB"));
    messages.Push(c);
    Trigger("File.Save");
    EXPECT_EQ(messages.Log().back(), QStringLiteral("save\tSave Sector\t"));
    EXPECT_EQ(Bytes(a), before);
    EXPECT_TRUE(NamesOnDisk(c).empty());
    EXPECT_EQ(NamesOnDisk(a).size(), 3u);
}

TEST_F(FileFlows, AGeneratedSectorsFileHoldsExactlyWhatWasGenerated)
{
    const QString a = MakeSector(QStringLiteral("A.VexaDB"), 12);
    Open({a});
    const QByteArray before = Bytes(a);

    TVexaSector blank;
    const auto tables = NameTableFiles();
    TNewSectorOptions o = DefaultNewSectorOptions(blank, tables.empty() ? std::string() : tables.front());
    o.Width = o.Height = o.Depth = 10;
    o.Radius = 5;
    o.Frequency = 20;
    // Refused for its size: the open sector stays.
    TNewSectorOptions huge = o;
    huge.Width = huge.Height = huge.Depth = 1.0e5;
    huge.Frequency = 100;
    EXPECT_FALSE(window->GenerateNewSector(huge));
    EXPECT_EQ(window->Sector().SystemCount(), 12);
    EXPECT_EQ(window->Sector().FileName, a.toStdString());

    ASSERT_TRUE(GenerateAndWait(o));
    const std::vector<std::string> generated = NamesInWindow();
    ASSERT_FALSE(generated.empty());

    const QString b = Path(QStringLiteral("B.VexaDB"));
    messages.Push(b);
    Trigger("File.SaveAs");
    EXPECT_EQ(NamesOnDisk(b), generated);
    EXPECT_EQ(Bytes(a), before);
}

// Also the delete → save → reopen road: what the window deleted is gone
// from the file and everything else is still there.
TEST_F(FileFlows, AFileThatIsNoSectorLeavesTheOpenSectorItsNameAndItsChanges)
{
    const QString a = MakeSector(QStringLiteral("A.VexaDB"), 300);
    Open({a});
    TVexaSector &s = window->Sector();
    s.SelectBody(s.GetSystem(1));
    window->SectorChanged(false);  // as a click in the view does
    Trigger("Actions.DeleteSystems");
    ASSERT_EQ(s.SystemCount(), 299);
    ASSERT_TRUE(s.Modified);
    const std::vector<std::string> kept = NamesInWindow();
    const QString caption = window->windowTitle();

    const QString text = Path(QStringLiteral("x.VexaDB"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("systems: none, just words\n");
    }
    const QString truncated = Path(QStringLiteral("cut.VexaDB"));
    {
        const QByteArray whole = Bytes(a);
        QFile f(truncated);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(whole.left(whole.size() / 2));
    }
    // The truncated copy passes the first look and fails while it is read.
    ASSERT_EQ(GetVexaFileVersion(truncated.toStdString()), 3);
    {
        TVexaSector probe;
        ASSERT_FALSE(LoadFromFile(probe, truncated.toStdString()));
    }

    for (const QString &bad : {text, truncated}) {
        SCOPED_TRACE(bad.toStdString());
        const qsizetype logged = messages.Log().size();
        Open({QStringLiteral("No"), bad});  // "Save Changes?", then the file
        ASSERT_GT(messages.Log().size(), logged);
        EXPECT_EQ(messages.Log().back(), QStringLiteral("tell\tCannot Open\t") + kCorrupted);
        EXPECT_EQ(NamesInWindow(), kept);
        EXPECT_EQ(s.FileName, a.toStdString());
        EXPECT_TRUE(s.Modified);
        EXPECT_EQ(window->windowTitle(), caption);
    }

    // A recent file that has gone says so, and changes nothing either.
    Open({QStringLiteral("No"), Path(QStringLiteral("gone.VexaDB"))});
    EXPECT_TRUE(messages.Log().back().startsWith(QStringLiteral("tell\tCannot Open\tFile could not be opened: ")));
    EXPECT_EQ(NamesInWindow(), kept);
    EXPECT_EQ(s.FileName, a.toStdString());

    Trigger("File.Save");  // into A, without asking
    EXPECT_FALSE(s.Modified);
    EXPECT_EQ(NamesOnDisk(a), kept);
    TVexaSector reopened;
    ASSERT_TRUE(LoadFromFile(reopened, a.toStdString()));
    EXPECT_EQ(reopened.FindRootBodyByName("A 1"), nullptr);
    EXPECT_NE(reopened.FindRootBodyByName("A 299"), nullptr);
    EXPECT_EQ(reopened.FindView("Home"), 0);
}

TEST_F(FileFlows, OlderFilesAreConvertedWhenTheUserSaysSoUnderTheNameGiven)
{
    const QString old = Path(QStringLiteral("Old Map.Sector"));
    kalvion::test::WriteOlderSectorFile(old.toStdString(), {"Alpha", "Beta"});
    const QByteArray original = Bytes(old);
    const QString question = QStringLiteral(
        "This file is from an earlier version of Kalvion, and needs to be converted into the current file format "
        "before it can be opened.  Convert the file now?");

    // Declined, then a cancelled name, then the original's own name: nothing
    // is written and the empty sector stays.
    Open({old, QStringLiteral("No")});
    EXPECT_TRUE(Asked(QStringLiteral("Convert File"), question));
    Open({old, QStringLiteral("Yes"), QStringLiteral("Cancel")});
    Open({old, QStringLiteral("Yes"), old});
    EXPECT_TRUE(Told(QStringLiteral("Cannot convert"), QString::fromLatin1(CONVERT_SAME_NAME)));
    EXPECT_TRUE(SectorFilesInFolder().isEmpty());
    EXPECT_EQ(window->Sector().SystemCount(), 0);
    EXPECT_TRUE(window->Sector().FileName.empty());

    // Converted twice under one name: one file, no numbered copies.
    const QString converted = Path(QStringLiteral("Converted.VexaDB"));
    for (int i = 0; i < 2; ++i) {
        Open({old, QStringLiteral("Yes"), converted});
        EXPECT_EQ(window->Sector().FileName, converted.toStdString());
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Converted Sector (2 Systems; 2 total bodies) "));
    }
    EXPECT_EQ(SectorFilesInFolder(), QStringList{QStringLiteral("Converted.VexaDB")});
    EXPECT_EQ(NamesOnDisk(converted), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(Bytes(old), original);

    // Named on the command line, an older file is opened as Open opens it:
    // the same question, and the new file named by the user.
    TfrmVexaMain::TOptions o;
    o.ProgramFolder = dir.path() + QLatin1Char('/');
    o.SkipGL = true;
    o.FileToOpen = old;
    window.reset();
    const qsizetype asked = messages.Log().filter(QStringLiteral("Convert File")).size();
    messages.Push(QStringLiteral("Yes"));
    messages.Push(Path(QStringLiteral("Started.VexaDB")));
    window = std::make_unique<TfrmVexaMain>(messages, *store, o);
    EXPECT_EQ(messages.Log().filter(QStringLiteral("Convert File")).size(), asked + 1);
    EXPECT_EQ(window->Sector().FileName, Path(QStringLiteral("Started.VexaDB")).toStdString());
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("Old Map.VexaDB"))));
}
