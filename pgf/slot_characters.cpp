#include "slot_characters.h"

#include "firmware_slots.h"
#include "named_character_sets.h"

namespace tessavine::pgf {

SlotCharacters slotCharacters(int slot) {
    const FirmwareSlot& firmware = firmwareSlot(slot);  // refuses a slot that is not there
    const std::string_view name = firmware.number == kBigFontSlot ? "japanese" : "psp";
    return {name, namedCharacterSet(name)};
}

}  // namespace tessavine::pgf
