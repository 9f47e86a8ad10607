#include "app/travel/TravelCalcWindow.h"

#include "app/DialogValues.h"
#include "base/AsciiText.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "ui_TravelCalcWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace kalvion::app {

namespace {

TStellarBody *FindBelow(TStellarBody &parent, const QString &name)
{
    for (auto &child : parent.Children) {
        if (ShownText(child->Name).compare(name, Qt::CaseInsensitive) == 0)
            return child.get();
        if (TStellarBody *found = FindBelow(*child, name))
            return found;
    }
    return nullptr;
}

void AddChildren(QTreeWidgetItem *item, TStellarBody &body)
{
    for (auto &child : body.Children) {
        auto *c = new QTreeWidgetItem(item, {ShownText(child->Name)});
        c->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void *>(child.get())));
        AddChildren(c, *child);
    }
}

TStellarBody *BodyOf(const QTreeWidgetItem *item)
{
    return item ? static_cast<TStellarBody *>(item->data(0, Qt::UserRole).value<void *>()) : nullptr;
}

// The drop-down of a body box: the systems, each opened into its bodies on
// demand (loading it), and a box to find a system or "system/body" by name.
class TBodyPicker final : public QFrame {
public:
    TBodyPicker(TVexaSector &sector, TfrmTravelCalc3 &window, QWidget *parent)
        : QFrame(parent, Qt::Popup), FSector(sector), FWindow(window)
    {
        setFrameShape(QFrame::StyledPanel);
        FFind = new QLineEdit;
        FFind->setObjectName(QStringLiteral("edFindBody"));
        FFind->setPlaceholderText(QStringLiteral("System or system/body"));
        FTree = new QTreeWidget;
        FTree->setObjectName(QStringLiteral("treeBodies"));
        FTree->setHeaderHidden(true);
        for (auto &root : sector.Systems) {
            auto *item = new QTreeWidgetItem(FTree, {ShownText(root->Name)});
            item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void *>(root.get())));
            item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        }
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->addWidget(FFind);
        layout->addWidget(FTree);
        resize(320, 360);
        QObject::connect(FTree, &QTreeWidget::itemExpanded, FTree, [this](QTreeWidgetItem *item) {
            if (item->parent() || item->childCount() > 0)
                return;
            TStellarBody *root = BodyOf(item);
            FSector.DynaLoad(root);
            AddChildren(item, *root);
            if (item->childCount() == 0)
                item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
        });
        QObject::connect(FTree, &QTreeWidget::itemClicked, FTree,
                         [this](QTreeWidgetItem *item, int) { Pick(BodyOf(item)); });
        QObject::connect(FFind, &QLineEdit::returnPressed, FFind,
                         [this] { Pick(FWindow.FindBody(FFind->text().trimmed())); });
    }

    std::function<void(TStellarBody *)> OnPick;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && FTree->hasFocus()) {
            Pick(BodyOf(FTree->currentItem()));
            return;
        }
        QFrame::keyPressEvent(event);
    }

private:
    void Pick(TStellarBody *body)
    {
        if (!body)
            return;
        // Closing deletes the picker: the choice is handed on last.
        const auto pick = OnPick;
        close();
        if (pick)
            pick(body);
    }

    TVexaSector &FSector;
    TfrmTravelCalc3 &FWindow;
    QLineEdit *FFind = nullptr;
    QTreeWidget *FTree = nullptr;
};

} // namespace

TfrmTravelCalc3::TfrmTravelCalc3(TAppMessages &messages, TVexaSector &sector,
                                 std::vector<TTravelCalcMethod *> methods, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmTravelCalc3>()), FMessages(messages), FSector(sector),
      FCalc(sector)
{
    ui->setupUi(this);
    FCalc.SetMethods(std::move(methods));
    FStart = ui->edStartBody;
    FEnd = ui->edEndBody;
    FOutTo = ui->edOutToDistance;
    FDeparture = ui->lblDeparture;
    FSublight = ui->edSublightSpeed;
    FUnit = ui->cmbSublightUnit;
    FInterstellar = ui->edInterstellarSpeed;
    FMethod = ui->cmbMethod;
    FStartBoundary = ui->edStartBoundary;
    FEndBoundary = ui->edEndBoundary;
    FIntrasystem = ui->chkIntrasystem;
    FDistance = ui->edDistance;
    FTime = ui->edTravelTime;
    FArrival = ui->edArrivalDate;
    for (const char *u : TRAVEL_UNIT_NAMES)
        FUnit->addItem(QString::fromLatin1(u));
    // Plug-in methods follow the built-in ones.
    for (const std::string &m : FCalc.MethodNames())
        FMethod->addItem(QString::fromStdString(m));
    FIntrasystem->setText(QString::fromLatin1(TRAVEL_INTRASYSTEM_CAPTION));
    FDeparture->setText(QString::fromStdString(FCalc.DepartureText()));

    QToolButton *pickStart = ui->btnPickStart, *pickEnd = ui->btnPickEnd;
    connect(pickStart, &QToolButton::clicked, this, [this, pickStart] { PickInto(true, pickStart); });
    connect(pickEnd, &QToolButton::clicked, this, [this, pickEnd] { PickInto(false, pickEnd); });
    for (QLineEdit *e : {FOutTo, FSublight, FInterstellar, FStartBoundary, FEndBoundary})
        connect(e, &QLineEdit::editingFinished, this, [this] { Recalculate(); });
    connect(FUnit, &QComboBox::currentIndexChanged, this, [this] { Recalculate(); });
    connect(FMethod, &QComboBox::currentIndexChanged, this, [this] { Recalculate(); });
    connect(FIntrasystem, &QCheckBox::toggled, this, [this] { Recalculate(); });
    connect(ui->btnAdvanceTime, &QPushButton::clicked, this, [this] { AdvanceTime(); });
    connect(ui->btnClose, &QPushButton::clicked, this, &QDialog::accept);
    // The calculator is modal and the planner is not: the one gives way to
    // the other.
    connect(ui->btnPlanRoute, &QPushButton::clicked, this, [this] {
        Recalculate();
        FPlanRoute = true;
        accept();
    });
    FLoading = false;
}

TfrmTravelCalc3::~TfrmTravelCalc3() = default;

void TfrmTravelCalc3::RestoreChoices(int unit, const QString &method, bool intrasystem)
{
    FLoading = true;
    if (unit >= 0 && unit < FUnit->count())
        FUnit->setCurrentIndex(unit);
    const int m = FMethod->findText(method);
    FMethod->setCurrentIndex(m >= 0 ? m : 0);
    FIntrasystem->setChecked(intrasystem);
    FLoading = false;
}

int TfrmTravelCalc3::UnitChoice() const { return FUnit->currentIndex(); }
QString TfrmTravelCalc3::MethodChoice() const { return FMethod->currentText(); }
bool TfrmTravelCalc3::IntrasystemChoice() const { return FIntrasystem->isChecked(); }

void TfrmTravelCalc3::SetStartBody(TStellarBody *body)
{
    FCalc.Inputs.StartBody = body;
    FStart->setText(body ? ShownText(body->Name) : QString());
}

void TfrmTravelCalc3::SetEndBody(TStellarBody *body)
{
    FCalc.Inputs.EndBody = body;
    FEnd->setText(body ? ShownText(body->Name) : QString());
}

TStellarBody *TfrmTravelCalc3::FindBody(const QString &path)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    TStellarBody *body = nullptr;
    for (auto &root : FSector.Systems)
        if (ShownText(root->Name).compare(parts.front().trimmed(), Qt::CaseInsensitive) == 0) {
            body = root.get();
            break;
        }
    if (!body || parts.size() == 1)
        return body;
    FSector.DynaLoad(body);
    for (qsizetype i = 1; body && i < parts.size(); ++i)
        body = FindBelow(*body, parts[i].trimmed());
    return body;
}

void TfrmTravelCalc3::PickInto(bool start, QToolButton *button)
{
    QLineEdit *box = start ? FStart : FEnd;
    auto *picker = new TBodyPicker(FSector, *this, this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->OnPick = [this, start](TStellarBody *body) {
        if (start)
            SetStartBody(body);
        else
            SetEndBody(body);
        Recalculate();
    };
    picker->resize(std::max(picker->width(), box->width() + button->width()), picker->height());
    picker->move(box->mapToGlobal(QPoint(0, box->height())));
    picker->show();
}

void TfrmTravelCalc3::Recalculate()
{
    if (FLoading)
        return;
    TTravelInputs &in = FCalc.Inputs;
    in.OutToDistance = PointDecimalText(FOutTo->text()).toStdString();
    in.SublightSpeed = PointDecimalText(FSublight->text()).toStdString();
    in.SublightUnit = FUnit->currentIndex();
    in.InterstellarSpeed = PointDecimalText(FInterstellar->text()).toStdString();
    in.Method = FMethod->currentText().toStdString();
    in.StartBoundary = PointDecimalText(FStartBoundary->text()).toStdString();
    in.EndBoundary = PointDecimalText(FEndBoundary->text()).toStdString();
    in.IntrasystemHyperlight = FIntrasystem->isChecked();
    FCalc.Recalculate();
    ShowAnswer();
    if (!FCalc.Result().Message.empty())
        FMessages.Tell(QString::fromStdString(FCalc.Result().Message), QStringLiteral("Travel Calculator"),
                       TMsgIcon::Warning);
}

void TfrmTravelCalc3::ShowAnswer()
{
    const TTravelResult &r = FCalc.Result();
    FDistance->setText(QString::fromStdString(r.DistanceText));
    FTime->setText(QString::fromStdString(r.TravelTimeText));
    FArrival->setText(QString::fromStdString(r.ArrivalText));
    FDeparture->setText(QString::fromStdString(FCalc.DepartureText()));
}

bool TfrmTravelCalc3::AdvanceTime()
{
    if (!FCalc.AdvanceTime())
        return false;
    FAdvanced = true;
    SetStartBody(FCalc.Inputs.StartBody);
    ShowAnswer();
    return true;
}

} // namespace kalvion::app
