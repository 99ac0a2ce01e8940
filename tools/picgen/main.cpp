// picgen <output-root>: writes every picture under <output-root>, at the same
// relative paths as in the source tree.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "picgen.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output-root>\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path root = argv[1];
        for (const picgen::OutputFile& file : picgen::renderAll()) {
            const std::filesystem::path target = root / file.path;
            std::filesystem::create_directories(target.parent_path());
            std::ofstream out(target, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
            if (!out) {
                std::fprintf(stderr, "picgen: cannot write %s\n", target.string().c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "picgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
