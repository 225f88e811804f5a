#include "platform/serial/ModemTracker.h"

#include "platform/serial/CommEvents.h"

#include <array>

namespace brantock::platform {

namespace {

struct LineSlot {
    int event;
    bool ModemLines::*level;
    std::uint32_t ModemSample::*count;
};

constexpr std::array<LineSlot, 3> Lines{{
    {comEvDSR, &ModemLines::dsr, &ModemSample::dsrCount},
    {comEvCTS, &ModemLines::cts, &ModemSample::ctsCount},
    {comEvCD, &ModemLines::cd, &ModemSample::cdCount},
}};

void flip(ModemLines& levels, const LineSlot& line, std::uint32_t times,
          std::vector<LineChange>& out) {
    for (std::uint32_t i = 0; i < times; ++i) {
        levels.*line.level = !(levels.*line.level);
        out.push_back(LineChange{line.event, levels, false});
    }
}

} // namespace

ModemTracker::ModemTracker(const ModemSample& initial)
    : levels_(initial.levels), last_(initial), useCounts_(initial.hasCounts) {}

std::vector<LineChange> ModemTracker::between(ModemLines from, const ModemLines& to) {
    std::vector<LineChange> out;
    for (const LineSlot& line : Lines)
        flip(from, line, from.*line.level != to.*line.level ? 1 : 0, out);
    return out;
}

std::vector<LineChange> ModemTracker::update(const ModemSample& sample) {
    std::vector<LineChange> out;
    if (sample.hasCounts && last_.hasCounts) {
        // Counts wrap; the unsigned difference is still the number of transitions.
        std::array<std::uint32_t, 3> moved{};
        bool anyMoved = false;
        ModemLines expected = levels_;
        for (std::size_t i = 0; i < Lines.size(); ++i) {
            moved[i] = sample.*Lines[i].count - last_.*Lines[i].count;
            anyMoved = anyMoved || moved[i] != 0;
            if (moved[i] & 1u)
                expected.*Lines[i].level = !(expected.*Lines[i].level);
        }
        const bool agrees = expected == sample.levels;
        // Counts that move and explain the levels are trusted again.
        if (!useCounts_ && anyMoved && agrees)
            useCounts_ = true;
        if (useCounts_) {
            // A settled reading whose levels disagree with the counts happens once when the
            // driver has not yet handled an interrupt.
            mismatches_ = sample.settled && !agrees ? mismatches_ + 1 : 0;
            for (std::size_t i = 0; i < Lines.size(); ++i)
                flip(levels_, Lines[i], moved[i], out);
            last_ = sample;
            if (mismatches_ < 2)
                return out;
            // Twice running: a transition was counted wrong (contact bounce) or the driver
            // keeps no counts. Every counted change is kept and the levels as read put them
            // right; levels alone are used until the counts move in agreement again.
            mismatches_ = 0;
            useCounts_ = false;
        }
    }
    const std::vector<LineChange> differences = between(levels_, sample.levels);
    out.insert(out.end(), differences.begin(), differences.end());
    levels_ = sample.levels;
    last_ = sample;
    return out;
}

} // namespace brantock::platform
