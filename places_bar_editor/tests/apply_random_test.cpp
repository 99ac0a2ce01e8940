// Starting and applying without a change, over registry states that other
// programs could have left: every value stays exactly as it was.
#include "apply.h"
#include "fake_view.h"
#include "module1.h"
#include "registry_setup.h"
#include "startup.h"

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

private:
    bool Chance(int oneIn) { return std::uniform_int_distribution<int>(1, oneIn)(m_random) == 1; }
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }

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
    // function, as other programs write.
    void StoreRandom(MemoryRegistry& registry, const std::wstring& keyPath, const std::wstring& name) {
        static const std::uint32_t kTypes[] = {kRegSz, kRegExpandSz, kRegMultiSz, kRegDword, kRegQword, kRegBinary, 0, 0x1234};
        const std::uint32_t type = kTypes[Pick(8)];
        RegistrySetup setup(registry);
        std::vector<std::uint8_t> data;
        switch (Pick(5)) {
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

    std::mt19937 m_random;
};

TEST(StartAndApplyUnchanged, ChangesNoStoredValue_OverThousandsOfStates) {
    int customStates = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        MemoryRegistry registry;
        RandomState(seed).Fill(registry);
        Values before;
        Collect(registry, L"Software", before);

        Module1 module(registry, SystemCodePage());
        FakeView view;
        const std::int16_t mode = LoadPlacesConfiguration(module, view);
        customStates += mode == kModeCustom;
        SlotTexts slots;
        for (std::size_t i = 0; i < slots.size(); ++i) slots[i] = view.slots[i].text;
        EXPECT_EQ(ApplyMode(module, mode, slots), ApplyOutcome::Confirmed) << "seed " << seed;

        Values after;
        Collect(registry, L"Software", after);
        ASSERT_EQ(after, before) << "seed " << seed << ", mode " << mode;
        ASSERT_EQ(registry.OpenHandleCount(), 0u);
    }
    EXPECT_GT(customStates, 600) << "the states reach the slots often enough to mean something";
}

}  // namespace
