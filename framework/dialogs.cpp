#include "framework/dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "framework/production.h"
#include "framework/seam.h"

namespace fw {

namespace {
std::shared_ptr<MessageDialogButton> MakeButton(const char* caption, bool visible) {
    auto button = std::make_shared<MessageDialogButton>();
    button->Caption = caption;
    button->Visible = visible;
    return button;
}
}  // namespace

MessageDialog::MessageDialog()
    : ActionButton(MakeButton("OK", true)),
      CancelButton(MakeButton("Cancel", false)) {}

std::shared_ptr<MessageDialogButton> MessageDialog::ShowModal() {
    DialogRequest request;
    request.icon = Icon;
    request.message = Message;
    request.explanation = Explanation;
    request.actionCaption = ActionButton->Caption;
    request.actionVisible = ActionButton->Visible;
    request.cancelCaption = CancelButton->Caption;
    request.cancelVisible = CancelButton->Visible;
    switch (CurrentSeam().dialogs->ShowModal(request)) {
    case DialogChoice::Action: return ActionButton;
    case DialogChoice::Cancel: return CancelButton;
    case DialogChoice::None: break;
    }
    return nullptr;
}

void MsgBox(const std::string& text) { CurrentSeam().dialogs->MessageBox(text); }

namespace production {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Remembers whether the player closed the box or pressed Escape: a box
// without a cancel button reports that as its only button's click.
class DismissableBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool Dismissed() const { return dismissed_; }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel)) dismissed_ = true;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        dismissed_ = true;
        QMessageBox::closeEvent(event);
    }

private:
    bool dismissed_ = false;
};

QMessageBox::Icon ToQtIcon(int icon) {
    switch (icon) {
    case 1: return QMessageBox::Warning;
    case 2: return QMessageBox::Critical;
    case 3: return QMessageBox::Question;
    default: return QMessageBox::Information;
    }
}

class QtDialogPresenter : public DialogPresenter {
public:
    DialogChoice ShowModal(const DialogRequest& request) override {
        QPointer<DismissableBox> box = NewBox();
        if (!box) return DialogChoice::None;
        box->setIcon(ToQtIcon(request.icon));
        box->setText(Q(request.message));
        box->setInformativeText(Q(request.explanation));
        QAbstractButton* action = nullptr;
        QAbstractButton* cancel = nullptr;
        if (request.actionVisible) {
            auto* b = box->addButton(Q(request.actionCaption), QMessageBox::AcceptRole);
            box->setDefaultButton(b);
            action = b;
        }
        if (request.cancelVisible) {
            cancel = box->addButton(Q(request.cancelCaption), QMessageBox::RejectRole);
            box->setEscapeButton(cancel);
        }
        box->exec();
        // Whatever ran during exec may have closed the parent window, and the box with it.
        if (!box) return DialogChoice::None;
        const QAbstractButton* clicked = box->clickedButton();
        DialogChoice choice = DialogChoice::None;
        if (clicked && clicked == cancel) choice = DialogChoice::Cancel;
        else if (clicked && clicked == action && !box->Dismissed()) choice = DialogChoice::Action;
        delete box.data();
        return choice;
    }

    void MessageBox(const std::string& text) override {
        QPointer<QMessageBox> box = NewBox();
        if (!box) return;
        box->setText(Q(text));
        box->setStandardButtons(QMessageBox::Ok);
        box->exec();
        delete box.data();
    }

    void Problem(const std::string& title, const std::string& message) override {
        QPointer<QMessageBox> box = NewBox();
        if (!box) return;
        box->setIcon(QMessageBox::Warning);
        box->setWindowTitle(Q(title));
        box->setText(Q(message));
        box->setStandardButtons(QMessageBox::Ok);
        box->exec();
        delete box.data();
    }

private:
    // Nil when there is no widget application to show a box in (making a widget
    // then would abort the process); callers have already written to stderr
    // what matters, so the box is simply left out.
    static DismissableBox* NewBox() {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
        auto* box = new DismissableBox(QApplication::activeWindow());
        box->setWindowTitle(QGuiApplication::applicationDisplayName());
        box->setWindowModality(box->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
        return box;
    }
};

}  // namespace

DialogPresenter& QtDialogs() {
    static QtDialogPresenter presenter;
    return presenter;
}

}  // namespace production
}  // namespace fw
