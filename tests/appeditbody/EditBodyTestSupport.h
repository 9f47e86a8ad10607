#pragma once
// A small star system to edit: a star of one solar luminosity with an
// Earth-like planet at 1 AU and a moon, a multiple system with a component
// star, a planet system with a member, and the dialog over them.
#include "../appdialogs/DialogTestSupport.h"

#include "app/editbody/EditBodyDialog.h"
#include "model/VexaSector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace kalvion::app::test {

class EditBodyTest : public DialogTest {
protected:
    void SetUp() override
    {
        Star = Sector.NewSystem(BODY_TYPE_STAR);
        Star->Name = "Sol";
        Star->Mass = 1;
        Star->Luminosity = 1;
        Planet = AddChild(Star, BODY_TYPE_TERRESTRIAL, "Sol III");
        Planet->Distance = 149597890;
        Planet->Radius = 6378.14;
        Planet->Density = 1;
        Planet->Albedo = 0.3;
        Planet->Rotation = 24;
        Moon = AddChild(Planet, BODY_TYPE_TERRESTRIAL, "Sol III.1");
        Moon->Distance = 384800;
    }
    static TStellarBody *AddChild(TStellarBody *parent, int type, const char *name)
    {
        auto child = TStellarBody::Create();
        child->TypeID = type;
        child->Name = name;
        TStellarBody *raw = child.get();
        parent->AddChild(std::move(child));
        return raw;
    }
    void Open(TStellarBody *body) { Dlg.Load(*body, Sector, {QStringLiteral("Empire")}, QString()); }
    QLineEdit *Edit(const char *name) { return Find<QLineEdit>(Dlg, name); }
    QLabel *Label(const char *name) { return Find<QLabel>(Dlg, name); }
    QTabWidget *Tabs() { return Find<QTabWidget>(Dlg, "pcPages"); }
    // The captions of the visible pages, in order.
    QStringList VisibleTabs()
    {
        QStringList list;
        for (int i = 0; i < Tabs()->count(); ++i)
            if (Tabs()->isTabVisible(i))
                list << Tabs()->tabText(i);
        return list;
    }
    void Type(const char *edit, const QString &text)
    {
        QLineEdit *e = Edit(edit);
        e->setText(text);
        emit e->editingFinished();
    }
    QStringList Told() const
    {
        QStringList out;
        for (const QString &line : Messages.Log())
            if (line.startsWith(QLatin1String("tell\t")))
                out << line.section(QLatin1Char('\t'), 2);
        return out;
    }

    TVexaSector Sector;
    TStellarBody *Star = nullptr, *Planet = nullptr, *Moon = nullptr;
    TfrmEditBody Dlg{Messages};
};

} // namespace kalvion::app::test
