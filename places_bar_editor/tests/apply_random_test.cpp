// The apply over registry states that other programs could have left:
// started and applied unchanged, hidden and shown again, with another
// program writing while the window is open, and with a registry call that
// fails.
#include "registry_setup.h"

#include <places_bar/apply.h>
#include <places_bar/module1.h>
#include <places_bar/startup.h>

#include <platform/ansi.h>
#include <platform/memory_registry.h>
#include <platform/reg_value.h>

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

using namespace lumbrake;
using namespace lumbrake::testing;
using namespace platform;

// Every value under a key and its sub keys: "path|name" to type and bytes.
using Values = std::map<std::wstring, RegValue>;

void Collect(Registry& registry, const std::wstring& path, Values& values) {
    UniqueRegKey key(registry);
    if (registry.OpenKeyExW(kHkeyCurrentUser, path, kKeyRead, key.put()) != kErrorSuccess) return;
    std::wstring name;
    for (std::uint32_t i = 0; registry.EnumValueW(key.get(), i, &name) == kErrorSuccess; ++i) {
        RegValue value;
        ASSERT_EQ(QueryValueW(registry, key.get(), name, &value), kErrorSuccess);
        values[path + L"|" + FoldRegistryName(name)] = value;
    }
    std::vector<std::wstring> subKeys;
    for (std::uint32_t i = 0; registry.EnumKeyExW(key.get(), i, &name) == kErrorSuccess; ++i) subKeys.push_back(name);
    key.reset();
    for (const std::wstring& sub : subKeys) Collect(registry, path + L"\\" + sub, values);
}

class RandomState {
public:
    explicit RandomState(unsigned seed) : m_random(seed) {}

    bool Chance(int oneIn) { return std::uniform_int_distribution<int>(1, oneIn)(m_random) == 1; }
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }

    void Fill(MemoryRegistry& registry) {
        RegistrySetup setup(registry);
        if (Chance(4)) return;  // no policy at all
        setup.CreateKey(kPolicyPath);
        if (Chance(2)) StoreRandom(registry, kPolicyPath, L"NoPlacesBar");
        if (Chance(3)) StoreRandom(registry, kPolicyPath, L"NoBackButton");
        if (Chance(2)) return;
        setup.CreateKey(kPlacesPath);
        for (int slot = 0; slot < 7; ++slot) {
            if (Chance(5)) continue;
            std::wstring name = (Chance(3) ? L"place" : Chance(2) ? L"PLACE" : L"Place") + std::to_wstring(slot);
            StoreRandom(registry, kPlacesPath, name);
        }
        if (Chance(6)) setup.CreateKey(kPlacesPath + L"\\Sub");
        if (Chance(6)) setup.CreateKey(kPolicyPath + L"\\Other");
    }

    std::wstring Text() {
        static const std::wstring kPool = std::wstring(L"C:\\ab|0123456789.-_%") + L"中文한글Ελάδα\x3000\xA0\t\x20AC" + std::wstring(1, L'\0');
        std::wstring text;
        const int length = Pick(12);
        for (int i = 0; i < length; ++i) text += kPool[static_cast<std::size_t>(Pick(static_cast<int>(kPool.size())))];
        if (Chance(3)) text = L"我的电脑|17";
        if (Chance(5)) text = L"%SystemDrive%\\" + text;
        return text;
    }
    std::vector<std::uint8_t> Bytes() {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(Pick(10)));
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(Pick(256));
        return bytes;
    }

    // A value of any type with any data, written through the W or the A
    // function, or deleted, as other programs write.
    void StoreRandom(MemoryRegistry& registry, const std::wstring& keyPath, const std::wstring& name) {
        static const std::uint32_t kTypes[] = {kRegSz, kRegExpandSz, kRegMultiSz, kRegDword, kRegQword, kRegBinary, 0, 0x1234};
        const std::uint32_t type = kTypes[Pick(8)];
        RegistrySetup setup(registry);
        std::vector<std::uint8_t> data;
        switch (Pick(6)) {
        case 5: {
            UniqueRegKey key(registry);
            if (registry.OpenKeyExW(kHkeyCurrentUser, keyPath.substr(5), kKeyAllAccess, key.put()) == kErrorSuccess)
                static_cast<void>(registry.DeleteValueW(key.get(), name));
            return;
        }
        case 0: {  // a folder id, in the list or not
            static const std::int32_t kIds[] = {0, 5, 17, 55, 38, 2, -1, 99};
            setup.StoreDword(keyPath, name, kIds[Pick(8)]);
            return;
        }
        case 1: {  // whole Unicode text, with or without its NUL
            std::string units = ToUtf16(Text() + (Chance(2) ? std::wstring(1, L'\0') : std::wstring()));
            if (Chance(6) && !units.empty()) units.pop_back();  // an odd length
            units += "\x01\x01";  // not counted: keeps the registry from adding a NUL of its own
            setup.Store(keyPath, name, type, units.data(), static_cast<std::uint32_t>(units.size() - 2));
            return;
        }
        case 2: {  // ANSI bytes, undecodable ones among them, through the A function
            data = Bytes();
            data.push_back(0);
            setup.StoreAnsi(keyPath, name, type, data.data(), static_cast<std::uint32_t>(data.size() - 1));
            return;
        }
        default:
            data = Bytes();
            data.push_back(1);
            data.push_back(1);
            setup.Store(keyPath, name, type, data.data(), static_cast<std::uint32_t>(data.size() - 2));
            return;
        }
    }

private:
    std::mt19937 m_random;
};

// A window started on a generated state, and what it shows.
struct Window {
    explicit Window(unsigned seed) : random(seed) {
        random.Fill(registry);
        Collect(registry, L"Software", before);
        reading = ReadPlaces(module);
        base = BaseOf(reading);
        shown = ShownTexts(reading);
    }
    ApplyOutcome Apply(std::int16_t mode) { return ApplyMode(module, mode, shown, base); }
    StoredValue Stored(int slot) {
        StoredValue stored;
        static_cast<void>(module.GetKeyValue(kHkeyCurrentUser, std::wstring(kPlacesKey), ReadSlotValueName(slot), &stored));
        return stored;
    }
    StoredValue Switch() {
        StoredValue stored;
        static_cast<void>(module.GetKeyValue(kHkeyCurrentUser, std::wstring(kPolicyKey), std::wstring(kNoPlacesBar), &stored));
        return stored;
    }

    RandomState random;
    MemoryRegistry registry;
    Module1 module{registry, SystemCodePage()};
    Values before;
    PlacesReading reading;
    PlacesBase base;
    SlotTexts shown;
};

// What a slot the user typed into holds afterwards, as the dialog reads it.
bool HoldsTyped(const StoredValue& stored, const std::wstring& typed) {
    const std::wstring text = TrimSpaces(typed);
    if (text.empty()) return stored.presence == Presence::Absent;
    if (const auto id = PlaceEntryFolderId(text)) return stored.presence == Presence::Present && stored.value == DwordValue(*id);
    return stored.presence == Presence::Present && stored.value.type == kRegSz && StringOf(stored.value) == text;
}

TEST(StartAndApplyUnchanged, ChangesNoStoredValue_OverThousandsOfStates) {
    int customStates = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        Window window(seed);
        customStates += window.reading.mode == kModeCustom;
        if (window.reading.mode == kModeNoPlacesBar && !DialogsHideBar(window.Switch())) {
            // A switch the dialogs do not obey is made one they do.
            static_cast<void>(window.Apply(kModeNoPlacesBar));
            ASSERT_TRUE(DialogsHideBar(window.Switch())) << "seed " << seed;
            continue;
        }
        EXPECT_EQ(window.Apply(window.reading.mode), ApplyOutcome::Confirmed) << "seed " << seed;
        Values after;
        Collect(window.registry, L"Software", after);
        ASSERT_EQ(after, window.before) << "seed " << seed << ", mode " << window.reading.mode;
        ASSERT_EQ(window.registry.OpenHandleCount(), 0u);
    }
    EXPECT_GT(customStates, 600) << "the states reach the slots often enough to mean something";
}

// Hidden, then shown again in the same run: every slot comes back as the
// value it was read from, type and bytes, never as its display text.
TEST(HideThenShowAgain, PutsBackEverySlotExactly) {
    int restored = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        Window window(seed);
        if (window.reading.mode != kModeCustom || window.Apply(kModeNoPlacesBar) != ApplyOutcome::Confirmed) continue;
        ASSERT_EQ(window.Apply(kModeCustom), ApplyOutcome::Confirmed) << "seed " << seed;
        for (int slot = 0; slot < kSlotCount; ++slot)
            ASSERT_EQ(window.Stored(slot), window.reading.slots[static_cast<std::size_t>(slot)]->stored) << "seed " << seed << ", slot " << slot;
        ++restored;
    }
    EXPECT_GT(restored, 400);
}

// Another program writes between start-up and apply; the user edits one
// slot. Every slot the user did not edit keeps what the registry holds then.
TEST(ConcurrentWriter, NoUneditedSlotIsOverwritten) {
    int runs = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        Window window(seed);
        if (window.reading.mode != kModeCustom) continue;
        for (int slot = 0; slot < kSlotCount; ++slot)
            if (window.random.Chance(2)) window.random.StoreRandom(window.registry, kPlacesPath, ReadSlotValueName(slot));
        std::array<StoredValue, kSlotCount> meanwhile;
        for (int slot = 0; slot < kSlotCount; ++slot) meanwhile[static_cast<std::size_t>(slot)] = window.Stored(slot);
        const int edited = window.random.Pick(kSlotCount);
        window.shown[static_cast<std::size_t>(edited)] = L"D:\\Edited";
        ASSERT_EQ(window.Apply(kModeCustom), ApplyOutcome::Confirmed) << "seed " << seed;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const bool kept = slot == edited ? HoldsTyped(window.Stored(slot), L"D:\\Edited") : window.Stored(slot) == meanwhile[static_cast<std::size_t>(slot)];
            ASSERT_TRUE(kept) << "seed " << seed << ", slot " << slot << (slot == edited ? " (edited)" : "");
        }
        ++runs;
    }
    EXPECT_GT(runs, 400);
}

// One kind of registry call fails, reads included. An apply that is
// confirmed has left what its mode means, as the dialogs read it.
TEST(FaultInjection, NoConfirmedApplyLeavesAStepUndone) {
    const RegOp kOps[] = {RegOp::CreateKey, RegOp::OpenKey, RegOp::QueryValue, RegOp::SetValue, RegOp::DeleteKey, RegOp::DeleteValue, RegOp::QueryInfoKey};
    const std::wstring kNames[] = {L"", L"NoPlacesBar", L"Place0", L"place1", L"Place2", L"place3", L"Place4"};
    int confirmed = 0, failed = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        Window window(seed);
        const std::int16_t mode = static_cast<std::int16_t>(1 + window.random.Pick(3));
        SlotTexts typed = window.shown;
        for (auto& text : typed)
            if (window.random.Chance(3)) text = window.random.Chance(2) ? L"我的电脑|17" : window.random.Chance(2) ? L"" : L" C:\\T ";
        window.registry.InjectFailure(kOps[window.random.Pick(7)], window.random.Chance(2) ? kPolicyPath : kPlacesPath, kErrorAccessDenied,
                                      kNames[window.random.Pick(7)]);
        const PlacesBase base = window.base;
        std::swap(window.shown, typed);
        const ApplyOutcome outcome = window.Apply(mode);
        window.registry.ClearFailures();
        if (outcome != ApplyOutcome::Confirmed) {
            ++failed;
            continue;
        }
        ++confirmed;
        const StoredValue bar = window.Switch();
        if (mode == kModeNoPlacesBar) {
            ASSERT_TRUE(DialogsHideBar(bar)) << "seed " << seed;
            continue;
        }
        ASSERT_FALSE(CountsAsHidden(bar)) << "seed " << seed << ", mode " << mode;
        ASSERT_EQ(window.registry.KeyExists(kPlacesPath), mode == kModeCustom) << "seed " << seed << ", mode " << mode;
        for (int slot = 0; mode == kModeCustom && slot < kSlotCount; ++slot) {
            const auto i = static_cast<std::size_t>(slot);
            const StoredValue stored = window.Stored(slot);
            bool asAsked = true;
            if (window.shown[i] != base[i].text) asAsked = HoldsTyped(stored, window.shown[i]);
            else if (!base[i].value) asAsked = ShowPlace(stored).text == window.shown[i];
            else if (base[i].value->presence != Presence::Unreadable) asAsked = stored == *base[i].value;
            ASSERT_TRUE(asAsked) << "seed " << seed << ", slot " << slot;
        }
    }
    EXPECT_GT(confirmed, 2000) << failed;
    EXPECT_GT(failed, 150) << confirmed;
}

}  // namespace
