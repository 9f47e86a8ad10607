#include "app/travel/RoutePlannerWindow.h"

#include "app/DialogValues.h"
#include "base/AsciiText.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "travel/SpaceTravel.h"
#include "ui_RoutePlannerWindow.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QStringListModel>

#include <cmath>

namespace kalvion::app {

namespace {

// The checked entries of a list; none checked means no condition.
std::vector<std::string> Checked(const QListWidget *list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            names.push_back(list->item(i)->data(Qt::UserRole).toByteArray().toStdString());
    return names;
}

// Refills a list with names, keeping the checks of those that stay.
void Refill(QListWidget *list, const std::vector<std::string> &names)
{
    const std::vector<std::string> kept = Checked(list);
    list->clear();
    for (const std::string &name : names) {
        if (name.empty())
            continue;
        auto *item = new QListWidgetItem(ShownText(name), list);
        // The sector's own bytes, which need not be UTF-8.
        item->setData(Qt::UserRole, QByteArray::fromStdString(name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        bool checked = false;
        for (const std::string &k : kept)
            checked = checked || k == name;
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
}

// Tab in the completion list takes the highlighted name and goes on to the
// next box, as Tab in the box itself would (the list keeps the key to itself).
class TTabFromCompletion final : public QObject {
public:
    TTabFromCompletion(QCompleter *completer, QLineEdit *edit) : QObject(edit), FCompleter(completer), FEdit(edit) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
            return false;
        const QModelIndex current = FCompleter->popup()->currentIndex();
        if (current.isValid())
            FEdit->setText(current.data().toString());
        FCompleter->popup()->hide();
        // The box, with its list closed, moves the focus on.
        QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers());
        QCoreApplication::sendEvent(FEdit, &again);
        return true;
    }

private:
    QCompleter *FCompleter;
    QLineEdit *FEdit;
};

QString Quoted(const QString &name) { return QStringLiteral("\"") + name + QStringLiteral("\""); }

} // namespace

TfrmRoutePlanner::TfrmRoutePlanner(TAppMessages &messages, TVexaSector &sector, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmRoutePlanner>()), FMessages(messages), FSector(sector)
{
    ui->setupUi(this);
    setModal(false);
    ui->tblStops->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    ui->tblStops->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    ui->tblStops->verticalHeader()->setVisible(false);
    for (QLineEdit *e : {ui->edFrom, ui->edTo}) {
        auto *completer = new QCompleter(new QStringListModel(this), e);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setFilterMode(Qt::MatchContains);
        e->setCompleter(completer);
        completer->popup()->installEventFilter(new TTabFromCompletion(completer, e));
    }
    const auto routeTypesFollow = [this] {
        ui->lstRouteTypes->setEnabled(ui->chkAlongRoutes->isChecked());
        ui->lblRouteTypes->setEnabled(ui->chkAlongRoutes->isChecked());
    };
    connect(ui->chkAlongRoutes, &QCheckBox::toggled, this, routeTypesFollow);
    routeTypesFollow();
    connect(ui->btnPlan, &QPushButton::clicked, this, [this] { Plan(); });
    connect(ui->btnSaveRoute, &QPushButton::clicked, this, [this] { SaveAsRoute(); });
    connect(ui->btnClose, &QPushButton::clicked, this, &QDialog::close);
}

TfrmRoutePlanner::~TfrmRoutePlanner() = default;

void TfrmRoutePlanner::SetTravel(const TTravelInputs &inputs, std::vector<TTravelCalcMethod *> methods)
{
    FTravel = inputs;
    FTravel.StartBody = FTravel.EndBody = nullptr;
    FMethods = std::move(methods);
    ui->edSpeed->setText(QString::fromStdString(inputs.InterstellarSpeed));
    ui->lblMethod->setText(inputs.Method.empty() ? QString::fromLatin1(TRAVEL_METHOD_LIGHT_SPEED)
                                                 : QString::fromStdString(inputs.Method));
}

void TfrmRoutePlanner::Load()
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(FSector.Systems.size()));
    for (const auto &root : FSector.Systems)
        names << ShownText(root->Name);
    names.sort(Qt::CaseInsensitive);
    for (QLineEdit *e : {ui->edFrom, ui->edTo})
        static_cast<QStringListModel *>(e->completer()->model())->setStringList(names);
    std::vector<std::string> types, affiliations;
    for (const TStellarRouteType &t : FSector.RouteTypeList)
        types.push_back(t.Name);
    for (const TVexaPolitical &p : FSector.PoliticalList)
        affiliations.push_back(p.Name);
    Refill(ui->lstRouteTypes, types);
    Refill(ui->lstAffiliations, affiliations);
    ui->lblJumpUnit->setText(ShownText(FSector.UnitStarMeasureAbbrev));
}

void TfrmRoutePlanner::SetEnds(const TStellarBody *from, const TStellarBody *to)
{
    if (from)
        ui->edFrom->setText(ShownText(from->Name));
    if (to)
        ui->edTo->setText(ShownText(to->Name));
}

TStellarBody *TfrmRoutePlanner::FindSystem(const QString &name) const
{
    for (const auto &root : FSector.Systems)
        if (ShownText(root->Name).compare(name, Qt::CaseInsensitive) == 0)
            return root.get();
    return nullptr;
}

QString TfrmRoutePlanner::Validate(TRoutePlanOptions &options, TStellarBody *&from, TStellarBody *&to) const
{
    const QString fromName = ui->edFrom->text().trimmed(), toName = ui->edTo->text().trimmed();
    if (fromName.isEmpty())
        return QStringLiteral("Enter the system the trip starts from");
    from = FindSystem(fromName);
    if (!from)
        return QStringLiteral("No system named ") + Quoted(fromName);
    if (toName.isEmpty())
        return QStringLiteral("Enter the system the trip goes to");
    to = FindSystem(toName);
    if (!to)
        return QStringLiteral("No system named ") + Quoted(toName);
    if (from == to)
        return QStringLiteral("The trip starts and ends at the same system");
    options = TRoutePlanOptions();
    options.AlongRoutes = ui->chkAlongRoutes->isChecked();
    const QString jumpText = ui->edJumpRange->text().trimmed();
    const std::optional<double> jump = jumpText.isEmpty() && options.AlongRoutes
                                           ? std::optional<double>(0)
                                           : NumberFromText(jumpText);
    if (options.AlongRoutes) {
        if (!jump || !std::isfinite(*jump) || *jump < 0)
            return QStringLiteral("Jump Range must be a number (0 or empty: any segment)");
    } else if (!jump || !std::isfinite(*jump) || *jump <= 0) {
        return QStringLiteral("Jump Range must be a positive number");
    }
    options.MaxJump = *jump * FSector.UnitStarMeasureRatio;
    options.Goal = ui->rbShortest->isChecked() ? TPlanGoal::Shortest : TPlanGoal::FewestJumps;
    if (options.AlongRoutes)
        options.RouteTypes = Checked(ui->lstRouteTypes);
    options.PopulatedOnly = ui->chkPopulatedOnly->isChecked();
    options.Affiliations = Checked(ui->lstAffiliations);
    for (const QString &part : ui->edAvoid->text().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        if (name.isEmpty())
            continue;
        const TStellarBody *avoid = FindSystem(name);
        if (!avoid)
            return QStringLiteral("No system named ") + Quoted(name);
        options.Avoid.push_back(avoid);
    }
    return {};
}

bool TfrmRoutePlanner::Plan()
{
    TRoutePlanOptions options;
    TStellarBody *from = nullptr, *to = nullptr;
    const QString refused = Validate(options, from, to);
    if (!refused.isEmpty()) {
        Forget();
        ShowMessage(refused);
        return false;
    }
    TRoutePlanner planner(FSector);
    FPlan = planner.Plan(from, to, options);
    if (!FPlan.Error.empty() || !FPlan.Found) {
        const std::string why = !FPlan.Error.empty()
                                    ? FPlan.Error
                                    : PlanNoPathText(FSector, FPlan, from->Name, to->Name, options.AlongRoutes,
                                                     options.MaxJump);
        Forget();
        ShowMessage(ShownText(why));
        return false;
    }
    ShowPlan();
    return true;
}

void TfrmRoutePlanner::ShowPlan()
{
    const int n = static_cast<int>(FPlan.Stops.size());
    ui->tblStops->setRowCount(n);
    std::vector<TVexaPoint> path;
    path.reserve(FPlan.Stops.size());
    for (int i = 0; i < n; ++i) {
        const TPlanStop &stop = FPlan.Stops[static_cast<std::size_t>(i)];
        ui->tblStops->setItem(i, 0, new QTableWidgetItem(ShownText(stop.System->Name)));
        auto *jump = new QTableWidgetItem(
            i == 0 ? QString() : QString::fromStdString(PlanDistanceText(FSector, stop.JumpDistance)));
        jump->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ui->tblStops->setItem(i, 1, jump);
        path.push_back({stop.System->X, stop.System->Y, stop.System->Z});
    }
    ui->lblTotal->setText(QString::fromStdString(PlanDistanceText(FSector, FPlan.TotalDistance)) +
                          QStringLiteral(", ") + QString::number(FPlan.Jumps) +
                          (FPlan.Jumps == 1 ? QStringLiteral(" jump") : QStringLiteral(" jumps")));
    TTravelInputs in = FTravel;
    in.InterstellarSpeed = PointDecimalText(ui->edSpeed->text()).toStdString();
    double seconds = 0;
    std::string message;
    if (PlanTravelTime(FSector, FPlan, in, FMethods, seconds, message))
        ui->lblTravelTime->setText(QString::fromStdString(std::string(TrimView(FormatTravelDuration(seconds)))));
    else
        ui->lblTravelTime->setText(QString::fromStdString(message));
    ui->lblMessage->clear();
    ui->btnSaveRoute->setEnabled(true);
    if (OnPathChanged)
        OnPathChanged(path);
}

void TfrmRoutePlanner::ShowMessage(const QString &text)
{
    ui->lblMessage->setText(text);
}

void TfrmRoutePlanner::Forget()
{
    const bool hadPlan = FPlan.Found;
    FPlan = TRoutePlan();
    ui->tblStops->setRowCount(0);
    ui->lblTotal->clear();
    ui->lblTravelTime->clear();
    ui->btnSaveRoute->setEnabled(false);
    if (hadPlan && OnPathChanged)
        OnPathChanged({});
}

void TfrmRoutePlanner::SectorChanged()
{
    Load();
    if (FPlan.Found && !Plan())
        Forget();
}

bool TfrmRoutePlanner::SaveAsRoute()
{
    // Systems may have moved or gone since the trip was shown.
    if (!Plan())
        return false;
    const QString suggested = ShownText(FPlan.Stops.front().System->Name) + QStringLiteral(" - ") +
                              ShownText(FPlan.Stops.back().System->Name);
    const auto name = FMessages.InputBox(QStringLiteral("Save as Route"), QStringLiteral("Route Name:"), suggested);
    if (!name || !OnSaveRoute)
        return false;
    OnSaveRoute(FPlan, name->trimmed());
    return true;
}

QString TfrmRoutePlanner::TravelTimeText() const { return ui->lblTravelTime->text(); }
QString TfrmRoutePlanner::MessageText() const { return ui->lblMessage->text(); }

void TfrmRoutePlanner::hideEvent(QHideEvent *event)
{
    // The path belongs to the open window only.
    if (OnPathChanged)
        OnPathChanged({});
    QDialog::hideEvent(event);
}

} // namespace kalvion::app
