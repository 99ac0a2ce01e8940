#include <places_bar/check.h>

#include <platform/reg_value.h>

namespace lumbrake {

using namespace platform;

std::vector<PlaceCheck> CheckPlaces(const std::array<StoredValue, kSlotCount>& places, PlaceFinder& finder) {
    std::vector<PlaceCheck> checks;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const StoredValue& place = places[static_cast<std::size_t>(slot)];
        if (place.presence != Presence::Present) continue;
        PlaceCheck check{slot, place.value, {}, DropReason::None};
        if (const std::optional<std::uint32_t> folderId = DwordOf(place.value)) {
            check.found = finder.ResolveFolderId(*folderId);
            if (!check.found.resolved) check.reason = DropReason::UnknownFolderId;
        } else if (IsTextType(place.value.type)) {
            check.found = finder.ResolvePath(StringOf(place.value));
            if (!check.found.resolved) check.reason = DropReason::PathNotFound;
        } else {
            check.reason = place.value.type == kRegDword ? DropReason::WrongDwordSize : DropReason::WrongType;
        }
        checks.push_back(std::move(check));
    }
    return checks;
}

}  // namespace lumbrake
