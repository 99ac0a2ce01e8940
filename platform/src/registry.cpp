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

}  // namespace platform
