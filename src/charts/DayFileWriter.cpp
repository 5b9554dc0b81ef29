// SPDX-License-Identifier: GPL-3.0-or-later
#include "DayFileWriter.h"

#include <cmath>
#include <cstring>
#include <system_error>

#include "CivilDate.h"
#include "FileIo.h"
#include "Numbers.h"
#include "StockFile.h"
#include "pasCommon.h"

double DayNumber(int year, int month, int day) {
    return static_cast<double>(civil::daysFromCivil(year, month, day) - civil::daysFromCivil(1899, 12, 30));
}

DayFileOutcome WriteDayFile(const std::filesystem::path& folder, std::string_view code,
                            std::span<const TTDX_DAYInfo> days, const std::optional<std::string>& floatShares,
                            std::vector<std::string>& memTxt, const std::function<void()>& processMessages) {
    const std::filesystem::path dir = folder / "data";
    const std::filesystem::path file = dir / (std::string(code.substr(0, 6)) + ".dat");
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);

    memTxt.clear();
    for (const TTDX_DAYInfo& d : days) {
        const auto f2 = [](float v) { return numbers::formatFloat("0.00", v); };
        memTxt.push_back(std::to_string(d.Date) + ":" + std::string(code.substr(0, 6)) + ":" + f2(d.Open) + ":" +
                         f2(d.High) + ":" + f2(d.Low) + ":" + f2(d.Close) + ":" +
                         numbers::formatFloat("0", static_cast<double>(d.Volume)) + ":" +
                         numbers::formatFloat("0", d.Amount));
        if (processMessages) processMessages();
    }

    if (!floatShares || memTxt.size() < 2) {
        std::filesystem::remove(file, ec);
        return {DayFileOutcome::Removed, 0, {}};
    }
    // Until the reply has been converted whole, the previous file stays as it is.
    const std::optional<double> shares = numbers::parseFloat(*floatShares);
    if (!shares) return {DayFileOutcome::KeptOld, 0, "float shares \"" + *floatShares + "\" are no number"};

    std::string bytes;
    if (memTxt.size() > 2) {
        std::optional<float> prevClose;
        for (const std::string& line : memTxt) {
            std::vector<std::string> f;
            SplitText(line, ':', f);
            if (numbers::trim(line).size() < 20 || f.size() != 8) continue;
            const auto value = [&](int i) { return numbers::parseFloat(f[static_cast<std::size_t>(i)]); };
            if (!value(2) || !value(3) || !value(4) || !value(5) || !value(6) || !value(7) || f[0].size() != 8)
                return {DayFileOutcome::KeptOld, 0, "a day line is damaged: " + line};
            DayRecord r{};
            r.Date = DayNumber(std::stoi(f[0].substr(0, 4)), std::stoi(f[0].substr(4, 2)), std::stoi(f[0].substr(6, 2)));
            r.Open = static_cast<float>(RoundDecimals(2, *value(2)));
            r.High = static_cast<float>(RoundDecimals(2, *value(3)));
            r.Low = static_cast<float>(RoundDecimals(2, *value(4)));
            r.Close = static_cast<float>(RoundDecimals(2, *value(5)));
            r.Volume = static_cast<float>(RoundDecimals(2, *value(6)));
            r.Amount = static_cast<float>(RoundDecimals(2, *value(7)));
            const bool first = !prevClose;
            r.PrevClose = first ? r.Close : *prevClose;
            prevClose = r.Close;
            if (r.PrevClose == 0 || r.Low == 0)
                return {DayFileOutcome::KeptOld, 0, "a day with a zero close or low: " + line};
            r.ChangePct = static_cast<float>(RoundDecimals(2, (r.Close - r.PrevClose) / static_cast<double>(r.PrevClose) * 100));
            r.Amplitude = static_cast<float>(RoundDecimals(2, (r.High - r.Low) / static_cast<double>(r.Low) * 100));
            r.FloatShares = static_cast<float>(*shares);
            if (first) continue;  // it only gives the next day its previous close
            bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
        }
    }
    if (const Status written = fileio::writeFileAtomically(file, bytes); !written.isOk())
        return {DayFileOutcome::KeptOld, 0, written.message()};
    return {DayFileOutcome::Written, static_cast<int>(bytes.size() / sizeof(DayRecord)), {}};
}
