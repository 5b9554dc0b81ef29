// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

// Modal message boxes of the core. The window layer installs a hook that shows a real
// dialog; without one (tests, tikvane-cli) the message goes to standard error and the
// default answer is taken. Tests install their own hook to see the messages.
enum class MessageButtons { Ok, OkCancel, Yes };
enum class MessageIcon { None, Information, Question };
enum class MessageAnswer { Ok, Cancel, Yes };

struct MessageBoxRequest {
    std::string caption;
    std::string text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

using MessageBoxHook = std::function<MessageAnswer(const MessageBoxRequest&)>;

// Returns the previous hook.
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);
MessageAnswer showMessageBox(const MessageBoxRequest& request);
