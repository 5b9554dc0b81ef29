// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliModels.h"

#include <QCoreApplication>
#include <QString>

#include <iostream>

CliModels::CliModels(const std::filesystem::path& folder) : directory(folder) {
    model.InitTables(140, [](std::string_view text) { return displayWidth(std::string(text)) * 7; });
    if (const Status loaded = directory.btnLoadClick(model.quote); !loaded.isOk())
        std::cerr << "tikvane-cli: " << loaded.message() << '\n';
}

std::filesystem::path FolderOrProgramFolder(const std::string& folder) {
    if (folder.empty()) return QCoreApplication::applicationDirPath().toStdString();
    return folder;
}

int displayWidth(const std::string& utf8) {
    int width = 0;
    for (const char32_t c : QString::fromStdString(utf8).toUcs4()) width += c >= 0x1100 ? 2 : 1;
    return width;
}
