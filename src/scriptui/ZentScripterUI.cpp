#include "scriptui/ZentScripterUI.h"

#include "base/AsciiText.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QWindow>

namespace kalvion {

namespace {

QString Q(const std::string &s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
std::string S(const QString &s) { return s.toUtf8().toStdString(); }

// The colour selector: a panel in its own colour that opens the colour dialog.
class ColorPanel final : public QLabel {
public:
    ColorPanel(QWidget *parent, TColor c) : QLabel(parent) { SetColor(c); }
    TColor Color() const { return FColor; }
    void SetColor(TColor c)
    {
        FColor = c;
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor::fromRgb(ColorToQRgb(c)));
        setPalette(p);
    }
    void Choose()
    {
        TColor c = FColor;
        bool ok;
        if (auto &hook = TZentScripterUI::ColorDialog(); hook) {
            ok = hook(c);
        } else {
            const QColor q = QColorDialog::getColor(QColor::fromRgb(ColorToQRgb(c)), window(), QString(),
                                                    QColorDialog::DontUseNativeDialog);
            ok = q.isValid();
            if (ok)
                c = ColorFromQRgb(q.rgb());
        }
        if (ok)
            SetColor(c);
    }

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton)
            Choose();
    }

private:
    TColor FColor = 0;
};

int IndexOfText(const std::vector<std::string> &items, const std::string &text)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (SameText(items[i], text))
            return static_cast<int>(i);
    return -1;
}

} // namespace

std::string &ZSUI_WindowCaption()
{
    static std::string caption = "Plugin";
    return caption;
}

std::function<bool(TColor &)> &TZentScripterUI::ColorDialog()
{
    static std::function<bool(TColor &)> hook;
    return hook;
}

std::function<std::optional<std::string>(bool, const std::string &, const std::string &)> &TZentScripterUI::FileDialog()
{
    static std::function<std::optional<std::string>(bool, const std::string &, const std::string &)> hook;
    return hook;
}

std::string QtFilterFromMask(const std::string &mask)
{
    std::vector<std::string> parts;
    std::string cur;
    for (char c : mask) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string pats = parts[i + 1];
        for (auto &ch : pats)
            if (ch == ';')
                ch = ' ';
        if (!out.empty())
            out += ";;";
        out += parts[i] + " (" + pats + ")";
    }
    return out;
}

// ---- widget ----

TZentScripterUIWidget::TZentScripterUIWidget() = default;
TZentScripterUIWidget::~TZentScripterUIWidget() = default;

void TZentScripterUIWidget::SetPosition(int left, int top, int width, int height)
{
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

std::string TZentScripterUIWidget::GetText() const
{
    QWidget *c = Control.data();
    if (!c)
        return Text;
    switch (WidgetType) {
    case ZSUI_TEXTEDIT: return S(static_cast<QLineEdit *>(c)->text());
    case ZSUI_MEMO: return S(static_cast<QPlainTextEdit *>(c)->toPlainText());
    case ZSUI_LISTBOX: {
        auto *lb = static_cast<QListWidget *>(c);
        return lb->currentRow() >= 0 && lb->currentItem() && lb->currentItem()->isSelected()
                   ? S(lb->currentItem()->text())
                   : std::string();
    }
    case ZSUI_DROPLIST:
    case ZSUI_COMBO: return S(static_cast<QComboBox *>(c)->currentText());
    default: return {};
    }
}

// ---- dialog ----

TZentScripterUI::TZentScripterUI() = default;
TZentScripterUI::~TZentScripterUI() = default;

void TZentScripterUI::SetPosition(int left, int top, int width, int height)
{
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

TZentScripterUIWidget *TZentScripterUI::AddWidget(int type)
{
    auto w = std::make_unique<TZentScripterUIWidget>();
    w->WidgetType = type;
    switch (type) {
    case ZSUI_RADIOGROUP: w->Columns = 1; break;
    case ZSUI_TRACKBAR:
        w->MinValue = 0;
        w->MaxValue = 10;
        w->Position = 0;
        break;
    case ZSUI_FILEOPEN:
    case ZSUI_FILESAVE: w->Text = ZSUI_MSG_FILESELECT; break;
    case ZSUI_COLOR: w->Text = ZSUI_MSG_COLORSELECT; break;
    default: break;
    }
    Widgets.push_back(std::move(w));
    return Widgets.back().get();
}

bool TZentScripterUI::ShowModal()
{
    QDialog dlg(QApplication::activeWindow());
    struct Clear {
        TZentScripterUI &U;
        ~Clear()
        {
            U.FForm = nullptr;
            for (auto &w : U.Widgets) {
                w->Control = nullptr;
                w->Edit = nullptr;
            }
        }
    } clear{*this};
    FForm = &dlg;
    dlg.setWindowTitle(Q(ZSUI_WindowCaption()));

    int left = Left, top = Top;
    if (Centered) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QRect g = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
        top = g.height() / 2 - Height / 2;
        left = g.width() / 2 - Width / 2;
    }
    // Width and Height are the outer frame; the buttons go by the client area.
    dlg.winId();
    QMargins frame;
    if (QWindow *wh = dlg.windowHandle())
        frame = wh->frameMargins();
    dlg.move(left, top);
    dlg.resize(std::max(1, Width - frame.left() - frame.right()), std::max(1, Height - frame.top() - frame.bottom()));
    const int cw = dlg.width(), ch = dlg.height();

    auto *ok = new QPushButton(QStringLiteral("&Ok"), &dlg);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setGeometry(cw - 172, ch - 32, 75, 25);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), &dlg);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setGeometry(cw - 92, ch - 32, 75, 25);
    QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);

    BuildComponents();
    const bool accepted = dlg.exec() == QDialog::Accepted;
    if (accepted)
        GatherComponentValues();
    return accepted;
}

void TZentScripterUI::BuildComponents()
{
    if (!FForm)
        return;
    for (auto &w : Widgets)
        BuildControl(*w);
}

void TZentScripterUI::BuildControl(TZentScripterUIWidget &w)
{
    QDialog *p = FForm;
    QWidget *c = nullptr;
    switch (w.WidgetType) {
    case ZSUI_TEXTEDIT: c = new QLineEdit(Q(w.Text), p); break;
    case ZSUI_LABEL: c = new QLabel(Q(w.Caption), p); break;
    case ZSUI_CHECKBOX: {
        auto *cb = new QCheckBox(Q(w.Caption), p);
        cb->setChecked(w.Checked);
        c = cb;
        break;
    }
    case ZSUI_RADIOGROUP: {
        auto *g = new QGroupBox(Q(w.Caption), p);
        auto *grid = new QGridLayout(g);
        const int cols = w.Columns > 0 ? w.Columns : 1;
        const int n = static_cast<int>(w.Items.size());
        const int rows = (n + cols - 1) / cols;
        const int sel = IndexOfText(w.Items, w.Text);
        for (int i = 0; i < n; ++i) {
            auto *rb = new QRadioButton(Q(w.Items[static_cast<std::size_t>(i)]), g);
            rb->setChecked(i == sel);
            grid->addWidget(rb, rows ? i % rows : 0, rows ? i / rows : 0);
        }
        c = g;
        break;
    }
    case ZSUI_MEMO: {
        auto *m = new QPlainTextEdit(Q(w.Text), p);
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        c = m;
        break;
    }
    case ZSUI_LISTBOX: {
        auto *lb = new QListWidget(p);
        for (const auto &it : w.Items)
            lb->addItem(Q(it));
        const int sel = IndexOfText(w.Items, w.Text);
        if (sel >= 0) {
            lb->setCurrentRow(sel);
            lb->item(sel)->setSelected(true);
        }
        c = lb;
        break;
    }
    case ZSUI_DROPLIST:
    case ZSUI_COMBO: {
        auto *cb = new QComboBox(p);
        cb->setEditable(w.WidgetType == ZSUI_COMBO);
        for (const auto &it : w.Items)
            cb->addItem(Q(it));
        cb->setCurrentIndex(IndexOfText(w.Items, w.Text));
        if (cb->currentIndex() < 0 && cb->isEditable())
            cb->setEditText(QString());
        c = cb;
        break;
    }
    case ZSUI_GROUPBOX: c = new QGroupBox(Q(w.Caption), p); break;
    case ZSUI_TRACKBAR: {
        auto *s = new QSlider(Qt::Horizontal, p);
        s->setMinimum(w.MinValue);
        s->setMaximum(w.MaxValue);
        s->setTickInterval(w.MaxValue / 10);
        s->setTickPosition(QSlider::TicksBelow);
        s->setValue(w.Position);
        c = s;
        break;
    }
    case ZSUI_IMAGE: {
        auto *l = new QLabel(p);
        QImage img;
        if (QFileInfo::exists(Q(w.ImageFileName)) && img.load(Q(w.ImageFileName))) {
            if (w.Fit && w.Width > 0 && w.Height > 0)
                img = img.scaled(w.Width, w.Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            l->setPixmap(QPixmap::fromImage(img));
        }
        c = l;
        break;
    }
    case ZSUI_FILEOPEN:
    case ZSUI_FILESAVE: {
        auto *edit = new QLineEdit(Q(w.FileName), p);
        edit->setGeometry(w.Left, w.Top, w.Width - 100, w.Height);
        auto *btn = new QPushButton(Q(w.Text), p);
        // The browse button is 80 wide, whatever ZSUI_SIZE_BROWSEBUTTONWIDTH says.
        btn->setGeometry(w.Left + w.Width - 95, w.Top, 80, w.Height - 4);
        const bool save = w.WidgetType == ZSUI_FILESAVE;
        const std::string filter = QtFilterFromMask(w.FileMask);
        QPointer<QLineEdit> target(edit);
        QObject::connect(btn, &QPushButton::clicked, btn, [target, save, filter, p] {
            if (!target)
                return;
            std::optional<std::string> chosen;
            if (auto &hook = TZentScripterUI::FileDialog(); hook) {
                chosen = hook(save, filter, S(target->text()));
            } else {
                const QString f = save ? QFileDialog::getSaveFileName(p, QString(), target->text(), Q(filter))
                                       : QFileDialog::getOpenFileName(p, QString(), target->text(), Q(filter));
                if (!f.isEmpty())
                    chosen = S(f);
            }
            if (chosen && target)
                target->setText(Q(*chosen));
        });
        w.Control = btn;
        w.Edit = edit;
        edit->show();
        btn->show();
        return;
    }
    case ZSUI_COLOR: {
        auto *panel = new ColorPanel(p, w.Color);
        panel->setText(Q(w.Text));
        panel->setAlignment(Qt::AlignCenter);
        c = panel;
        break;
    }
    default: return; // ZSUI_BUTTON and unknown codes build nothing
    }
    c->setGeometry(w.Left, w.Top, w.Width, w.Height);
    c->show();
    w.Control = c;
}

void TZentScripterUI::GatherComponentValues()
{
    for (auto &wp : Widgets) {
        TZentScripterUIWidget &w = *wp;
        QWidget *c = w.Control.data();
        if (!c)
            continue;
        switch (w.WidgetType) {
        case ZSUI_TEXTEDIT: w.Text = S(static_cast<QLineEdit *>(c)->text()); break;
        case ZSUI_CHECKBOX: w.Checked = static_cast<QCheckBox *>(c)->isChecked(); break;
        case ZSUI_RADIOGROUP: {
            w.Text.clear();
            for (auto *rb : c->findChildren<QRadioButton *>())
                if (rb->isChecked())
                    w.Text = S(rb->text());
            break;
        }
        case ZSUI_MEMO: w.Text = S(static_cast<QPlainTextEdit *>(c)->toPlainText()); break;
        case ZSUI_LISTBOX: w.Text = w.GetText(); break;
        case ZSUI_DROPLIST:
        case ZSUI_COMBO: w.Text = S(static_cast<QComboBox *>(c)->currentText()); break;
        case ZSUI_TRACKBAR: w.Position = static_cast<QSlider *>(c)->value(); break;
        case ZSUI_FILEOPEN:
        case ZSUI_FILESAVE:
            if (auto *e = qobject_cast<QLineEdit *>(w.Edit.data()))
                w.FileName = S(e->text());
            break;
        case ZSUI_COLOR: w.Color = static_cast<ColorPanel *>(c)->Color(); break;
        default: break;
        }
    }
}

} // namespace kalvion
