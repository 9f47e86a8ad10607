// Recovery copies through the window: written while the sector has unsaved
// changes and only then, never changing the document; gone once the changes
// are saved or given up; offered after a window that went without closing,
// where Yes brings the lost session back into its own file, No drops the
// copy, Cancel keeps it, and a copy that cannot be read is kept aside.
#include "../support/ScratchWindow.h"
#include "app/MainWindow.h"
#include "app/RecoveryCopies.h"
#include "app/ScriptedMessages.h"

#include "files/SectorFile.h"
#include "files/SectorRecovery.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::app;

namespace {

struct Recovery : ::testing::Test, kalvion::app::test::TScratchWindow<TScriptedMessages> {
    QString file;
    void SetUp() override
    {
        PrepareScratch();
        // Systems "Star 0" … "Star 4", each with one planet "Planet i".
        TVexaSector s;
        for (int i = 0; i < 5; ++i) {
            TStellarBody *star = s.NewSystem(1);
            star->Name = "Star " + std::to_string(i);
            star->X = i;
            auto planet = TStellarBody::Create();
            planet->Name = "Planet " + std::to_string(i);
            star->AddChild(std::move(planet));
        }
        s.UpdateRootAttribs();
        file = dir.filePath(QStringLiteral("Rim.VexaDB"));
        ASSERT_TRUE(SaveToFile(s, file.toStdString(), false));
        OpenWindow();
        ASSERT_TRUE(window->OpenSectorFile(file));
    }
    TVexaSector &Doc() { return window->Sector(); }
    TStellarBody *System(const std::string &name) { return Doc().FindRootBodyByName(name); }
    void Edit(const std::string &system, const std::string &newName)
    {
        TStellarBody *root = System(system);
        ASSERT_TRUE(root);
        root->Name = newName;
        root->ModifySystem();
        Doc().Modified = true;
    }
    // Starts a copy and waits for the worker to finish it.
    bool WriteCopy()
    {
        bool done = false;
        const auto c = QObject::connect(&window->Recovery(), &TRecoveryCopies::copyWritten, [&] { done = true; });
        const bool started = window->Recovery().WriteNow();
        QElapsedTimer clock;
        clock.start();
        while (started && !done && clock.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QObject::disconnect(c);
        return started && done;
    }
    static int CopyCount() { return static_cast<int>(FindRecoveryCopies().size()); }
    // The window goes without closing, as in a crash, and a new one starts.
    void Crash()
    {
        window.reset();
        OpenWindow();
    }
    QStringList Asked() const { return messages.Log().filter(QStringLiteral("ask\t")); }
    static std::unique_ptr<TVexaSector> Stored(const QString &path)
    {
        auto s = std::make_unique<TVexaSector>();
        EXPECT_TRUE(LoadFromFile(*s, path.toStdString()));
        s->DynaLoadAll();
        return s;
    }
};

const QString QUESTION = QStringLiteral("ask\tKalvion\tKalvion was closed while \"Rim.VexaDB\" had unsaved "
                                        "changes. Recover them?");

TEST_F(Recovery, CopiesFollowUnsavedChangesAndLeaveTheDocumentAlone)
{
    // Nothing to recover: no copy.
    EXPECT_FALSE(window->Recovery().WriteNow());
    EXPECT_EQ(CopyCount(), 0);
    EXPECT_EQ(window->Recovery().IntervalMs(), 2 * 60000);

    Doc().DynaLoad(System("Star 1"));
    Edit("Star 1", "Star One");
    TStellarBody *added = Doc().NewSystem(1);
    added->Name = "Newcomer";
    const std::int64_t row = System("Star One")->RecordID;
    ASSERT_TRUE(WriteCopy());
    const auto copies = FindRecoveryCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Origin.FileName, file.toStdString());
    EXPECT_FALSE(copies[0].Stale);
    // The copy holds the edits; the document is as it was.
    auto copy = Stored(QString::fromStdString(copies[0].SectorFile));
    EXPECT_TRUE(copy->FindRootBodyByName("Star One"));
    EXPECT_TRUE(copy->FindRootBodyByName("Newcomer"));
    EXPECT_EQ(copy->SystemCount(), 6);
    EXPECT_EQ(Doc().FileName, file.toStdString());
    EXPECT_TRUE(Doc().Modified);
    EXPECT_TRUE(System("Star One")->TVexaBase::Modified);
    EXPECT_EQ(System("Star One")->RecordID, row);
    EXPECT_EQ(added->RecordID, 0);
    EXPECT_TRUE(added->TVexaBase::Modified);
    EXPECT_EQ(Stored(file)->SystemCount(), 5);

    // Saved: the copy goes, and none comes while nothing changed.
    ASSERT_TRUE(window->Save());
    EXPECT_EQ(CopyCount(), 0);
    EXPECT_FALSE(window->Recovery().WriteNow());

    // "No" to "Save Changes?" before a new sector drops the copy.
    Edit("Star 2", "Star Two");
    ASSERT_TRUE(WriteCopy());
    EXPECT_EQ(CopyCount(), 1);
    messages.Push(QStringLiteral("No"));
    window->BlankSector();
    EXPECT_EQ(CopyCount(), 0);

    // A copy that cannot be written is logged, asks nothing, and is tried
    // again at the next interval.
    ASSERT_TRUE(window->OpenSectorFile(file));
    Edit("Star 3", "Star Three");
    const QString folder = QString::fromStdString(RecoveryFolder()).chopped(1);
    QDir().rmdir(folder);
    {
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    bool failed = false;
    const auto c = QObject::connect(&window->Recovery(), &TRecoveryCopies::copyFailed, [&] { failed = true; });
    ASSERT_TRUE(window->Recovery().WriteNow());
    QElapsedTimer clock;
    clock.start();
    while (!failed && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QObject::disconnect(c);
    EXPECT_TRUE(failed);
    EXPECT_TRUE(messages.Log().filter(QStringLiteral("tell\t")).isEmpty());
    EXPECT_TRUE(Doc().Modified);
    QFile::remove(folder);
    ASSERT_TRUE(WriteCopy());
    EXPECT_EQ(CopyCount(), 1);

    // Closing with "No" to the question drops it as well.
    ASSERT_TRUE(WriteCopy());
    messages.Push(QStringLiteral("No"));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(CopyCount(), 0);
    EXPECT_FALSE(Stored(file)->FindRootBodyByName("Star Three"));
}

TEST_F(Recovery, YesBringsTheLostSessionBackIntoItsFile)
{
    // The lost session: an edit inside a system, a new system, a deleted one.
    Doc().DynaLoad(System("Star 1"));
    System("Star 1")->Children[0]->Name = "Planet One";
    System("Star 1")->Children[0]->ModifySystem();
    TStellarBody *added = Doc().NewSystem(1);
    added->Name = "Newcomer";
    Doc().DeleteRootBody(System("Star 3"));
    Doc().Modified = true;
    ASSERT_TRUE(WriteCopy());
    Crash();
    EXPECT_EQ(Stored(file)->SystemCount(), 5);  // the file never saw the session

    messages.Push(QStringLiteral("Yes"));
    ASSERT_TRUE(window->OfferRecoveryCopies());
    EXPECT_EQ(Asked(), QStringList{QUESTION});
    EXPECT_TRUE(Doc().Modified);
    EXPECT_EQ(window->RecoveredTarget(), file);
    EXPECT_TRUE(window->CaptionText().startsWith(QStringLiteral("Rim Sector"))) << window->CaptionText().toStdString();
    EXPECT_EQ(Doc().SystemCount(), 5);
    // The edited system comes from the copy, unloaded until asked for.
    TStellarBody *one = System("Star 1");
    ASSERT_TRUE(one);
    EXPECT_FALSE(one->Loaded);
    Doc().DynaLoad(one);
    ASSERT_EQ(one->ChildrenCount(), 1);
    EXPECT_EQ(one->Children[0]->Name, "Planet One");
    // An edit after the recovery, inside a system not loaded before.
    TStellarBody *four = System("Star 4");
    Doc().DynaLoad(four);
    four->Children[0]->Name = "Planet Four";
    four->Children[0]->ModifySystem();

    // A second crash: the newer copy of the recovered sector is the one
    // offered, holding both sessions.
    ASSERT_TRUE(WriteCopy());
    EXPECT_EQ(CopyCount(), 1);
    Crash();
    messages.Push(QStringLiteral("Yes"));
    ASSERT_TRUE(window->OfferRecoveryCopies());
    EXPECT_EQ(Asked(), QStringList({QUESTION, QUESTION}));
    Doc().DynaLoad(System("Star 1"));
    EXPECT_EQ(System("Star 1")->Children.at(0)->Name, "Planet One");

    ASSERT_TRUE(window->Save());
    EXPECT_FALSE(Doc().Modified);
    EXPECT_EQ(Doc().FileName, file.toStdString());
    EXPECT_EQ(CopyCount(), 0);
    EXPECT_TRUE(QDir(QString::fromStdString(RecoveryFolder())).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());

    auto saved = Stored(file);
    EXPECT_EQ(saved->SystemCount(), 5);
    EXPECT_TRUE(saved->FindRootBodyByName("Newcomer"));
    EXPECT_FALSE(saved->FindRootBodyByName("Star 3"));
    ASSERT_TRUE(saved->FindRootBodyByName("Star 1"));
    EXPECT_EQ(saved->FindRootBodyByName("Star 1")->Children.at(0)->Name, "Planet One");
    EXPECT_EQ(saved->FindRootBodyByName("Star 4")->Children.at(0)->Name, "Planet Four");
    EXPECT_EQ(saved->FindRootBodyByName("Star 0")->Children.at(0)->Name, "Planet 0");
    for (const char *name : {"Star 0", "Star 1", "Star 2", "Star 4"})
        EXPECT_EQ(saved->FindRootBodyByName(name)->ChildrenCount(), 1) << name;
}

TEST_F(Recovery, CancelKeepsTheCopyNoDropsItAndASavedFileOutdatesIt)
{
    Edit("Star 0", "Star Zero");
    ASSERT_TRUE(WriteCopy());
    Crash();
    messages.Push(QStringLiteral("Cancel"));
    EXPECT_FALSE(window->OfferRecoveryCopies());
    EXPECT_EQ(Asked(), QStringList{QUESTION});
    EXPECT_EQ(CopyCount(), 1);
    EXPECT_FALSE(Doc().Modified);

    Crash();
    messages.Push(QStringLiteral("No"));
    EXPECT_FALSE(window->OfferRecoveryCopies());
    EXPECT_EQ(Asked(), QStringList({QUESTION, QUESTION}));
    EXPECT_EQ(CopyCount(), 0);

    // A copy older than its file is not offered.
    ASSERT_TRUE(window->OpenSectorFile(file));
    Edit("Star 0", "Star Zero");
    ASSERT_TRUE(WriteCopy());
    Crash();
    {
        TVexaSector later;
        ASSERT_TRUE(LoadFromFile(later, file.toStdString()));
        later.Notes = "saved elsewhere afterwards";
        later.Modified = true;
        ASSERT_TRUE(SaveToFile(later, file.toStdString(), false));
    }
    EXPECT_FALSE(window->OfferRecoveryCopies());
    EXPECT_EQ(Asked().size(), 2);
    EXPECT_EQ(CopyCount(), 0);
}

TEST_F(Recovery, AnUnsavedSectorIsRecoveredAndSavedUnderANewName)
{
    window->BlankSector();
    Doc().Name = "Frontier";
    Doc().NewSystem(1)->Name = "Lonely";
    Doc().Modified = true;
    ASSERT_TRUE(WriteCopy());
    ASSERT_EQ(FindRecoveryCopies().at(0).Origin.FileName, "");
    Crash();
    messages.Push(QStringLiteral("Yes"));
    ASSERT_TRUE(window->OfferRecoveryCopies());
    EXPECT_EQ(Asked().at(0), QStringLiteral("ask\tKalvion\tKalvion was closed while \"Frontier\" had unsaved "
                                            "changes. Recover them?"));
    const QString target = dir.filePath(QStringLiteral("Frontier.VexaDB"));
    messages.Push(target);
    ASSERT_TRUE(window->Save());
    EXPECT_TRUE(messages.Log().filter(QStringLiteral("save\t")).size() == 1);
    EXPECT_TRUE(Stored(target)->FindRootBodyByName("Lonely"));
    EXPECT_EQ(CopyCount(), 0);
}

TEST_F(Recovery, ACopyThatCannotBeReadIsKeptAside)
{
    Edit("Star 0", "Star Zero");
    ASSERT_TRUE(WriteCopy());
    const TRecoveryCopy copy = FindRecoveryCopies().at(0);
    Crash();
    {
        QFile f(QString::fromStdString(copy.SectorFile));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("not a sector file at all, only some bytes that look like none");
    }
    messages.Push(QStringLiteral("Yes"));
    EXPECT_FALSE(window->OfferRecoveryCopies());
    EXPECT_EQ(messages.Log().filter(QStringLiteral("tell\t")).size(), 1);
    EXPECT_EQ(CopyCount(), 0);
    std::string folder = copy.Folder;
    folder.pop_back();
    const QString aside = QString::fromStdString(folder + ".damaged");
    EXPECT_TRUE(QFile::exists(aside + QStringLiteral("/origin.txt")));
    EXPECT_EQ(QDir(aside).entryList({QStringLiteral("*.VexaDB")}, QDir::Files).size(), 1);
    EXPECT_FALSE(Doc().Modified);

    // A folder without its description is set aside without a question.
    ASSERT_TRUE(window->OpenSectorFile(file));
    Edit("Star 0", "Star Zero");
    ASSERT_TRUE(WriteCopy());
    const TRecoveryCopy second = FindRecoveryCopies().at(0);
    Crash();
    QFile::remove(QString::fromStdString(second.Folder + "origin.txt"));
    messages.Push(QStringLiteral("Yes"));
    EXPECT_FALSE(window->OfferRecoveryCopies());
    EXPECT_EQ(Asked().size(), 1);
    EXPECT_EQ(CopyCount(), 0);
    EXPECT_EQ(messages.Log().filter(QStringLiteral("tell\t")).size(), 2);
}

} // namespace
