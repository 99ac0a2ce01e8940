#include <platform/registry.h>

namespace platform {

namespace {

wchar_t Folded(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

}  // namespace

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Folded(a[i]) != Folded(b[i])) return false;
    return true;
}

std::wstring FoldRegistryName(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded) c = Folded(c);
    return folded;
}

std::vector<std::wstring> SplitKeyPath(std::wstring_view path) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (std::size_t slash; (slash = path.find(L'\\', start)) != std::wstring_view::npos; start = slash + 1)
        parts.emplace_back(path.substr(start, slash - start));
    parts.emplace_back(path.substr(start));
    return parts;
}

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
