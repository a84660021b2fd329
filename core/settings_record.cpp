#include "core/settings_record.h"

#include <string>

#include "core/number_reading.h"

namespace tessavine {
namespace {

// The six texts in the order of the record's first entries.
constexpr TextField kTextEntries[] = {TextField::fontname1,   TextField::height1,
                                      TextField::horizontal1, TextField::advance1,
                                      TextField::blur1,       TextField::intensity1};
constexpr int kBoldEntry = 6;
constexpr int kItalicizeEntry = 7;
constexpr int kFirstSlotEntry = 8;  // Check1(1); Check1(n) is entry n + 7
constexpr int kFirstRecordedSlot = 1;

std::string stateText(int state) {
    return std::to_string(state);
}

// Only a clean "1" (or a number that rounds to it) ticks a style box. Anything else, including
// a greyed 2 or text that is no number, leaves it unticked rather than in a state the window
// never offers its user.
int styleState(const std::string& entry) {
    const std::optional<double> value = readWholeNumber(entry);
    return (value && *value == 1.0) ? kTicked : kUnticked;
}

}  // namespace

SettingsRecord buildSettingsRecord(const MainControls& controls) {
    SettingsRecord record;
    for (std::size_t i = 0; i < std::size(kTextEntries); ++i) {
        record[i] = controls.text(kTextEntries[i]);
    }
    record[kBoldEntry] = stateText(controls.boldState());
    record[kItalicizeEntry] = stateText(controls.italicizeState());
    for (int box = kFirstRecordedSlot; box < kSlotCount; ++box) {
        // Only a ticked box is recorded as ticked; a greyed one is saved as unticked.
        const bool ticked = controls.slotBoxState(box) == kTicked;
        record[static_cast<std::size_t>(kFirstSlotEntry + box - kFirstRecordedSlot)] =
            stateText(ticked ? kTicked : kUnticked);
    }
    return record;
}

void applySettingsRecord(const SettingsRecord& record, int entriesRead, MainControls& controls) {
    const auto have = [entriesRead](int entry) { return entry < entriesRead; };
    for (std::size_t i = 0; i < std::size(kTextEntries); ++i) {
        if (have(static_cast<int>(i))) {
            controls.setText(kTextEntries[i], record[i]);
        }
    }
    if (have(kBoldEntry)) {
        controls.setBoldState(styleState(record[kBoldEntry]));
    }
    if (have(kItalicizeEntry)) {
        controls.setItalicizeState(styleState(record[kItalicizeEntry]));
    }
    for (int box = kFirstRecordedSlot; box < kSlotCount; ++box) {
        const int entry = kFirstSlotEntry + box - kFirstRecordedSlot;
        if (have(entry)) {
            controls.setSlotBoxState(
                box, record[static_cast<std::size_t>(entry)] == "1" ? kTicked : kUnticked);
        }
    }
}

}  // namespace tessavine
