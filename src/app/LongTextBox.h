#pragma once
// A message too tall for the screen it opens on: the text in a scrolling,
// selectable box with "Copy" and the message's own buttons, the window
// sized to fit that screen.  A message box would grow past the screen's
// edge and take its buttons with it.
#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>

#include <memory>

namespace Ui {
class TfrmLongText;
}

class QScreen;

namespace kalvion::app {

class TfrmLongText final : public QDialog {
    Q_OBJECT
public:
    TfrmLongText(const QString &caption, const QString &text, QMessageBox::Icon icon,
                 QDialogButtonBox::StandardButtons buttons, QWidget *parent = nullptr);
    ~TfrmLongText() override;

    // The button that closed the window (NoButton: closed otherwise).
    QDialogButtonBox::StandardButton Clicked() const { return FClicked; }
    QString Text() const;
    void CopyText() const;

private:
    void FitTo(const QScreen *screen);

    std::unique_ptr<Ui::TfrmLongText> ui;
    QDialogButtonBox::StandardButton FClicked = QDialogButtonBox::NoButton;
};

// Whether the message box would be taller than the screen it opens on.
bool TallerThanScreen(QMessageBox &box);

} // namespace kalvion::app
