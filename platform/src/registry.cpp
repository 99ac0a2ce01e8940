#include <platform/registry.h>

namespace platform {

long QueryValueW(Registry& registry, RegKey key, const std::wstring& name, RegValue* value) {
    std::uint32_t size = 0;
    long rc = registry.QueryValueExW(key, name, &value->type, nullptr, &size);
    if (rc != kErrorSuccess) return rc;
    // A value may grow between two calls: ask again with the size it has now.
    for (int attempt = 0; attempt < 4; ++attempt) {
        value->data.resize(size);
        rc = registry.QueryValueExW(key, name, &value->type, value->data.data(), &size);
        if (rc != kErrorMoreData) {
            if (rc == kErrorSuccess) value->data.resize(size);
            return rc;
        }
    }
    return rc;
}

long SetValueExactly(Registry& registry, RegKey key, const std::wstring& name, const RegValue& value) {
    // One NUL unit before the data (so that a one-byte string, whose "last
    // unit" starts before it, is not extended either) and no NUL after.
    std::vector<std::uint8_t> buffer(2, 0);
    buffer.insert(buffer.end(), value.data.begin(), value.data.end());
    buffer.insert(buffer.end(), 4, 0xFF);
    return registry.SetValueExW(key, name, value.type, buffer.data() + 2, static_cast<std::uint32_t>(value.data.size()));
}

long DeleteTree(Registry& registry, RegKey root, const std::wstring& path) {
    std::vector<std::wstring> keyNames;
    {
        UniqueRegKey key(registry);
        long rc = registry.OpenKeyExW(root, path, kKeyRead, key.put());
        if (rc == kErrorFileNotFound) return kErrorSuccess;
        if (rc == kErrorSuccess) rc = EnumerateNames([&](std::uint32_t i, std::wstring* n) { return registry.EnumKeyExW(key.get(), i, n); }, keyNames);
        if (rc != kErrorSuccess) return rc;
    }
    for (const std::wstring& name : keyNames)
        if (long rc = DeleteTree(registry, root, path + L"\\" + name); rc != kErrorSuccess) return rc;
    const long rc = registry.DeleteKeyW(root, path);
    return rc == kErrorFileNotFound ? kErrorSuccess : rc;
}

}  // namespace platform
