#pragma once
// Modal dialogs.

#include <memory>
#include <string>

namespace fw {

class MessageDialogButton {
public:
    std::string Caption;
    bool Visible = false;
};

class MessageDialog {
public:
    MessageDialog();

    int Icon = 0;  // 0 note, 1 caution, 2 stop, 3 question
    std::string Message;
    std::string Explanation;
    const std::shared_ptr<MessageDialogButton> ActionButton;
    const std::shared_ptr<MessageDialogButton> CancelButton;

    // Waits until the player clicks a button and returns that button (nil if
    // the dialog was closed some other way).
    std::shared_ptr<MessageDialogButton> ShowModal();
};

// A modal message box with an OK button.
void MsgBox(const std::string& text);

}  // namespace fw
