// The scheduler's event-file reader on any file, the times in it, and a save
// and reload of whatever it read: event files travel between stations, in
// either text encoding and either time format.
#include "ScratchFile.h"

#include "scheduler/EventFile.h"
#include "scheduler/TimeOfDayText.h"

using namespace tavlo;

namespace {

bool sameEvents(const std::vector<EventFields>& a, const std::vector<EventFields>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].time != b[i].time || a[i].playlist != b[i].playlist || a[i].window != b[i].window)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::ScratchFile file(".tmg");
    static fuzz::ScratchFile saved("-saved.tmg");
    static const TimeOfDayText times(QLocale::c());
    const auto events = EventFile::read(file.write(data, size));
    fuzz::check(events.has_value(), "a readable file reads");
    for (const EventFields& e : *events) {
        // A time read in either format is written in both and reads back the same.
        if (const auto t = times.parse(e.time)) {
            for (auto f : {TimeOfDayText::Format::AmPm, TimeOfDayText::Format::H24})
                fuzz::check(times.parse(times.format(*t, f)) == t, "a time survives either format");
        }
    }
    // A file that was read saves and reads back as the same events.
    fuzz::check(EventFile::write(saved.path(), *events), "the events save");
    const auto again = EventFile::read(saved.path());
    fuzz::check(again && sameEvents(*events, *again), "saved events read back the same");
    return 0;
}
