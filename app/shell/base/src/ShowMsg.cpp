#include "kesapp/ShowMsg.h"

#include <utility>
#include <vector>

#include <QMessageBox>
#include <QPushButton>

#include "kesapp/Product.h"

namespace kestrova {
namespace {

MsgBoxHandler& CurrentMsgBoxHandler() {
    static MsgBoxHandler handler;
    return handler;
}

QMessageBox::Icon IconOf(int buttons) {
    switch (buttons & 0x70) {
        case mb::kStop:
            return QMessageBox::Critical;
        case mb::kQuestion:
            return QMessageBox::Question;
        case mb::kExclamation:
            return QMessageBox::Warning;
        case mb::kInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

struct Choice {
    QMessageBox::StandardButton button;
    int answer;
};

// The buttons of each style, in order, with the answer each gives.
std::vector<Choice> ChoicesOf(int buttons) {
    constexpr int kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7;
    switch (buttons & 0x0F) {
        case 1:
            return {{QMessageBox::Ok, mb::kOK}, {QMessageBox::Cancel, mb::kCancel}};
        case 2:
            return {{QMessageBox::Abort, kAbort},
                    {QMessageBox::Retry, kRetry},
                    {QMessageBox::Ignore, kIgnore}};
        case 3:
            return {{QMessageBox::Yes, kYes},
                    {QMessageBox::No, kNo},
                    {QMessageBox::Cancel, mb::kCancel}};
        case 4:
            return {{QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}};
        case 5:
            return {{QMessageBox::Retry, kRetry}, {QMessageBox::Cancel, mb::kCancel}};
        default:
            return {{QMessageBox::Ok, mb::kOK}};
    }
}

}  // namespace

int ShowMsg(const std::string& prompt, int buttons, const std::string& title) {
    const std::string shownTitle = title.empty() ? std::string(kProductName) : title;
    if (const MsgBoxHandler& handler = CurrentMsgBoxHandler())
        return handler(prompt, buttons, shownTitle);
    return ShowPlatformMsgBox(prompt, buttons, shownTitle);
}

int ShowPlatformMsgBox(const std::string& prompt, int buttons, const std::string& title) {
    QMessageBox box(IconOf(buttons), QString::fromStdString(title), QString::fromStdString(prompt));
    const auto choices = ChoicesOf(buttons);
    for (const Choice& c : choices) box.addButton(c.button);
    box.setDefaultButton(choices.front().button);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Choice& c : choices) {
        if (c.button == clicked) return c.answer;
    }
    // Closed without a button (Esc on a box that has no Cancel): the first button's answer.
    return choices.front().answer;
}

ScopedMsgBoxHandler::ScopedMsgBoxHandler(MsgBoxHandler handler)
    : previous_(std::exchange(CurrentMsgBoxHandler(), std::move(handler))) {}

ScopedMsgBoxHandler::~ScopedMsgBoxHandler() {
    CurrentMsgBoxHandler() = std::move(previous_);
}

}  // namespace kestrova
