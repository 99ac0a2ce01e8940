// The apply over registry states that other programs could have left:
// started and applied unchanged with a read that fails, hidden and shown
// again with another program writing while the window is open, and with a
// registry call that fails. What each must leave is written out here, by
// the tests' own rules, never with the code under test.
#include "registry_setup.h"

#include <places_bar/apply.h>
#include <places_bar/module1.h>
#include <places_bar/startup.h>

#include <platform/ansi.h>
#include <platform/memory_registry.h>

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
    }
    void Start() {
        reading = ReadPlaces(module);
        base = BaseOf(reading);
        shown = ShownTexts(reading);
    }
    ApplyOutcome Apply(std::int16_t mode, ModeChoice choice = ModeChoice::Chosen) { return ApplyMode(module, mode, choice, shown, base); }
    // What a value holds, read past the code under test.
    std::optional<RegValue> Held(const std::wstring& keyPath, const std::wstring& name) const {
        const auto value = registry.Value(keyPath, name);
        return value ? std::optional<RegValue>(*value) : std::nullopt;
    }
    std::optional<RegValue> Slot(int slot) const { return Held(kPlacesPath, ReadSlotValueName(slot)); }
    std::optional<RegValue> Switch() const { return Held(kPolicyPath, L"NoPlacesBar"); }

    RandomState random;
    MemoryRegistry registry;
    Module1 module{registry, SystemCodePage()};
    Values before;
    PlacesReading reading;
    PlacesBase base;
    SlotTexts shown;
};

RegValue Dword(std::int32_t number) { return {kRegDword, DwordBytes(number)}; }
RegValue Text(const std::wstring& text) { return {kRegSz, Utf16Bytes(text + L'\0')}; }

// The user types into a slot a text other than the one it shows; what the
// slot is to hold then: nothing, the DWORD of a place entry's two digits,
// or the trimmed text with its NUL.
struct Typed {
    std::wstring text;
    std::optional<RegValue> stored;
};
Typed Edit(Window& window, std::size_t slot) {
    static const Typed kTyped[] = {
        {L"我的电脑|17", Dword(17)},    {L" C:\\T ", Text(L"C:\\T")}, {L"", std::nullopt},          {L" \t\x3000\xA0", std::nullopt},
        {L"x|a5", Text(L"x|a5")},      {L"a|b|05", Dword(5)},         {L"|5", Text(L"|5")},          {L"D:\\我的 文档", Text(L"D:\\我的 文档")},
    };
    const int tens = window.random.Pick(10), ones = window.random.Pick(10);
    Typed typed{L"名|" + std::to_wstring(tens) + std::to_wstring(ones), Dword(tens * 10 + ones)};
    while (!window.random.Chance(3) || typed.text == window.shown[slot]) typed = kTyped[window.random.Pick(static_cast<int>(std::size(kTyped)))];
    window.shown[slot] = typed.text;
    return typed;
}

// As the dialogs read the switch: hidden only by a DWORD that is not 0.
bool Obeyed(const std::optional<RegValue>& bar) { return bar && bar->type == kRegDword && bar->data.size() == 4 && bar->data != DwordBytes(0); }
// As start-up reads it: hidden by any value that shows as something, which
// a string whose first unit is NUL and a value without data do not.
bool CountsAtStartUp(const std::optional<RegValue>& bar) {
    if (!bar || bar->data.empty()) return false;
    const bool text = bar->type == kRegSz || bar->type == kRegExpandSz;
    return !text || (bar->data.size() >= 2 && (bar->data[0] != 0 || bar->data[1] != 0));
}

const RegOp kReads[] = {RegOp::OpenKey, RegOp::QueryValue, RegOp::QueryInfoKey};
const std::wstring kNames[] = {L"", L"NoPlacesBar", L"Place0", L"place1", L"Place2", L"place3", L"Place4"};

// Started and applied unchanged, with one read failing at start-up, at the
// apply, or none: nothing that could not be read is changed or deleted, and
// nothing else either, but a switch the dialogs do not obey.
TEST(StartAndApplyUnchanged, ChangesNothing_NotEvenWhatAReadFailedOn) {
    int customStates = 0, failingReads = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        Window window(seed);
        const int when = window.random.Pick(3);  // 0 at start-up, 1 at the apply, 2 never
        auto inject = [&] {
            const std::wstring& key = window.random.Chance(2) ? kPolicyPath : kPlacesPath;
            window.registry.InjectFailure(kReads[window.random.Pick(3)], key, kErrorAccessDenied, kNames[window.random.Pick(7)]);
        };
        if (when == 0) inject();
        window.Start();
        window.registry.ClearFailures();
        if (when == 1) inject();
        failingReads += when < 2;
        customStates += window.reading.mode == kModeCustom;
        const std::optional<RegValue> bar = window.Switch();
        const std::size_t callsBefore = window.registry.Calls().size();
        const ApplyOutcome outcome = window.Apply(window.reading.mode, ModeChoice::AsShown);
        window.registry.ClearFailures();
        if (window.reading.mode == kModeNoPlacesBar && !Obeyed(bar)) {
            ASSERT_TRUE(outcome != ApplyOutcome::Confirmed || Obeyed(window.Switch())) << "seed " << seed;
            continue;
        }
        EXPECT_TRUE(when < 2 || outcome == ApplyOutcome::Confirmed) << "seed " << seed;
        Values after;
        Collect(window.registry, L"Software", after);
        ASSERT_EQ(after, window.before) << "seed " << seed << ", mode " << window.reading.mode << ", failing read " << when;
        for (auto i = callsBefore; i < window.registry.Calls().size(); ++i) {
            const std::string& call = window.registry.Calls()[i];  // not even a write of what is there: only an empty policy key goes
            const bool writes = call.starts_with("SetValue") || call.starts_with("DeleteValue") || call.starts_with("DeleteKey");
            ASSERT_FALSE(writes && !call.ends_with("\\comdlg32")) << "seed " << seed << ": " << call;
        }
        ASSERT_EQ(window.registry.OpenHandleCount(), 0u);
    }
    EXPECT_GT(customStates, 600) << "the states reach the slots often enough to mean something";
    EXPECT_GT(failingReads, 1800);
}

// Another program writes while the window is open, before and after it
// hides the bar; the user may edit a slot. Shown again, an edited slot holds
// what was typed; every other slot what another program left there since,
// or else what it held when the hide removed it, type and bytes.
TEST(HideThenShowAgain, PutsBackWhatEachSlotHeld_AndKeepsAnotherProgramsWrites) {
    int restored = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        Window window(seed);
        window.Start();
        if (window.reading.mode != kModeCustom) continue;
        auto writeSome = [&](int oneIn) {
            for (int slot = 0; slot < kSlotCount; ++slot)
                if (window.random.Chance(oneIn)) window.random.StoreRandom(window.registry, kPlacesPath, ReadSlotValueName(slot));
        };
        writeSome(3);
        const int edited = window.random.Chance(2) ? window.random.Pick(kSlotCount) : -1;
        const Typed typed = edited >= 0 ? Edit(window, static_cast<std::size_t>(edited)) : Typed{};
        std::array<std::optional<RegValue>, kSlotCount> expected;
        for (int slot = 0; slot < kSlotCount; ++slot) expected[static_cast<std::size_t>(slot)] = window.Slot(slot);
        if (!window.random.Chance(4)) {
            ASSERT_EQ(window.Apply(kModeNoPlacesBar), ApplyOutcome::Confirmed) << "seed " << seed;
            const bool removed = !window.registry.KeyExists(kPlacesPath);  // not under a sub key of its own
            writeSome(4);
            for (int slot = 0; slot < kSlotCount; ++slot)
                if (const auto since = window.Slot(slot); since || !removed) expected[static_cast<std::size_t>(slot)] = since;
        }
        if (edited >= 0) expected[static_cast<std::size_t>(edited)] = typed.stored;
        ASSERT_EQ(window.Apply(kModeCustom), ApplyOutcome::Confirmed) << "seed " << seed;
        for (int slot = 0; slot < kSlotCount; ++slot)
            ASSERT_EQ(window.Slot(slot), expected[static_cast<std::size_t>(slot)]) << "seed " << seed << ", slot " << slot << (slot == edited ? " (edited)" : "");
        ++restored;
    }
    EXPECT_GT(restored, 600);
}

// One kind of registry call fails, reads included, while the user applies a
// mode of their choice. An apply that is confirmed has left what its mode
// means: the switch as the dialogs and start-up read it, the places key,
// each typed slot as typed and every other as it was.
TEST(FaultInjection, NoConfirmedApplyLeavesAStepUndone) {
    const RegOp kOps[] = {RegOp::CreateKey, RegOp::OpenKey, RegOp::QueryValue, RegOp::SetValue, RegOp::DeleteKey, RegOp::DeleteValue, RegOp::QueryInfoKey};
    int confirmed = 0, failed = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        Window window(seed);
        window.Start();
        const std::int16_t mode = static_cast<std::int16_t>(1 + window.random.Pick(3));
        std::array<std::optional<Typed>, kSlotCount> typed;
        for (std::size_t i = 0; i < typed.size(); ++i)
            if (!window.reading.slots[i] || window.random.Chance(3)) typed[i] = Edit(window, i);  // every slot start-up did not read
        std::array<std::optional<RegValue>, kSlotCount> held;
        for (int slot = 0; slot < kSlotCount; ++slot) held[static_cast<std::size_t>(slot)] = window.Slot(slot);
        window.registry.InjectFailure(kOps[window.random.Pick(7)], window.random.Chance(2) ? kPolicyPath : kPlacesPath, kErrorAccessDenied,
                                      kNames[window.random.Pick(7)]);
        const ApplyOutcome outcome = window.Apply(mode);
        window.registry.ClearFailures();
        if (outcome != ApplyOutcome::Confirmed) {
            ++failed;
            continue;
        }
        ++confirmed;
        if (mode == kModeNoPlacesBar) {
            ASSERT_TRUE(Obeyed(window.Switch())) << "seed " << seed;
            continue;
        }
        ASSERT_FALSE(CountsAtStartUp(window.Switch())) << "seed " << seed << ", mode " << mode;
        ASSERT_EQ(window.registry.KeyExists(kPlacesPath), mode == kModeCustom) << "seed " << seed << ", mode " << mode;
        for (int slot = 0; mode == kModeCustom && slot < kSlotCount; ++slot) {
            const auto i = static_cast<std::size_t>(slot);
            ASSERT_EQ(window.Slot(slot), typed[i] ? typed[i]->stored : held[i]) << "seed " << seed << ", slot " << slot;
        }
    }
    EXPECT_GT(confirmed, 2000) << failed;
    EXPECT_GT(failed, 150) << confirmed;
}

}  // namespace
