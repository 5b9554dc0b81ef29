// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include <iostream>
#include <utility>

namespace {
MessageBoxHook& hook() {
    static MessageBoxHook h;
    return h;
}
}  // namespace

MessageBoxHook setMessageBoxHook(MessageBoxHook h) { return std::exchange(hook(), std::move(h)); }

MessageAnswer showMessageBox(const MessageBoxRequest& request) {
    if (hook()) return hook()(request);
    std::cerr << request.caption << ": " << request.text << '\n';
    return request.buttons == MessageButtons::Yes ? MessageAnswer::Yes : MessageAnswer::Ok;
}
