#include "app/QtMessages.h"
#include "app/LongTextBox.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace kalvion::app {

namespace {

QMessageBox::Icon QtIcon(TMsgIcon icon)
{
    switch (icon) {
    case TMsgIcon::Information: return QMessageBox::Information;
    case TMsgIcon::Warning: return QMessageBox::Warning;
    case TMsgIcon::Question: return QMessageBox::Question;
    case TMsgIcon::Error: return QMessageBox::Critical;
    case TMsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QColor TQtMessages::CustomColor(int index) { return QColorDialog::customColor(index); }
void TQtMessages::SetCustomColor(int index, QColor colour) { QColorDialog::setCustomColor(index, colour); }

void TQtMessages::Tell(const QString &text, const QString &caption, TMsgIcon icon)
{
    QMessageBox box(QtIcon(icon), caption, text, QMessageBox::Ok, FParent);
    if (TallerThanScreen(box)) {
        TfrmLongText longBox(caption, text, QtIcon(icon), QDialogButtonBox::Ok, FParent);
        longBox.exec();
        return;
    }
    box.exec();
}

TMsgAnswer TQtMessages::Ask(const QString &text, const QString &caption, TMsgButtons buttons, TMsgIcon icon)
{
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case TMsgButtons::Ok: set = QMessageBox::Ok; break;
    case TMsgButtons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    case TMsgButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case TMsgButtons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox box(QtIcon(icon), caption, text, set, FParent);
    int clicked = QMessageBox::NoButton;
    if (TallerThanScreen(box)) {
        // The two kinds of box share the values of their standard buttons.
        TfrmLongText longBox(caption, text, QtIcon(icon), QDialogButtonBox::StandardButtons(set.toInt()), FParent);
        longBox.exec();
        clicked = longBox.Clicked();
    } else {
        clicked = box.exec();
    }
    switch (clicked) {
    case QMessageBox::Yes: return TMsgAnswer::Yes;
    case QMessageBox::No: return TMsgAnswer::No;
    case QMessageBox::Ok: return TMsgAnswer::Ok;
    default: break;
    }
    // Closing the box with Escape or its title-bar button answers with the
    // choice that goes no further.
    return buttons == TMsgButtons::YesNo ? TMsgAnswer::No
           : buttons == TMsgButtons::Ok  ? TMsgAnswer::Ok
                                         : TMsgAnswer::Cancel;
}

std::optional<QString> TQtMessages::InputBox(const QString &caption, const QString &prompt, const QString &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(FParent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> TQtMessages::OpenFileName(const QString &caption, const QString &filter,
                                                 const QString &initialPath)
{
    const QString f = QFileDialog::getOpenFileName(FParent, caption, initialPath, QtFileFilter(filter));
    if (f.isEmpty())
        return std::nullopt;
    return f;
}

std::optional<QString> TQtMessages::SaveFileName(const QString &caption, const QString &filter,
                                                 const QString &initialPath, const QString &defaultExt)
{
    QFileDialog dialog(FParent, caption, initialPath, QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QString ext = defaultExt;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    dialog.setDefaultSuffix(ext);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

std::optional<QString> TQtMessages::FolderName(const QString &caption, const QString &initialFolder)
{
    const QString d = QFileDialog::getExistingDirectory(FParent, caption, initialFolder);
    if (d.isEmpty())
        return std::nullopt;
    return d;
}

std::optional<TColor> TQtMessages::ChooseColor(TColor initial)
{
    const QColor c = QColorDialog::getColor(QColor::fromRgb(ColorToQRgb(initial)), FParent);
    if (!c.isValid())
        return std::nullopt;
    return ColorFromQRgb(c.rgb());
}

} // namespace kalvion::app
