// rcgen --output <folder>: writes the resource scripts, the manifest and the
// pictures of the Windows build into <folder> (src/ui/resources).
#include "resource_scripts.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace {

int Usage() {
    std::fputs("usage: rcgen --output <folder>\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path output;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--output" && i + 1 < argc) {
            output = argv[++i];
        } else {
            return Usage();
        }
    }
    if (output.empty()) {
        return Usage();
    }
    int failures = 0;
    for (const corvane::rcgen::GeneratedFile& file : corvane::rcgen::GenerateResourceFiles()) {
        const std::filesystem::path path = output / file.name;
        std::ofstream stream(path, std::ios::binary | std::ios::trunc);
        stream.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        stream.close();
        if (!stream) {
            std::fprintf(stderr, "rcgen: cannot write %s\n", path.string().c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
