#pragma once
// The shell's two ways of finding a place, as the Open and Save dialogs use
// them: a special folder by its id, anything else by parsing its path.
#include <cstdint>
#include <string>

namespace platform {

// How the shell found a place.
struct Resolution {
    bool resolved = false;
    std::wstring displayName;  // the name it shows for the place, when resolved
    long code = 0;             // the HRESULT of the failure, when not
};

class PlaceFinder {
public:
    virtual ~PlaceFinder() = default;
    virtual Resolution ResolveFolderId(std::uint32_t folderId) = 0;  // SHGetSpecialFolderLocation
    virtual Resolution ResolvePath(const std::wstring& text) = 0;     // SHParseDisplayName
};

}  // namespace platform
