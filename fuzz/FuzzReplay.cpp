// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Stands in for libFuzzer where it is not used: feeds the files named, and every file in the
// folders named, to the target once each, and says how many went through. A fault aborts
// with the target's reason, as under libFuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
bool Replay(const std::filesystem::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(stream),
                                  std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s file-or-folder...\n", argv[0]);
        return 2;
    }
    int replayed = 0;
    bool readAll = true;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        if (std::filesystem::is_directory(argv[i], error)) {
            for (const auto& entry : std::filesystem::directory_iterator(argv[i], error)) {
                if (!entry.is_regular_file(error))
                    continue;
                readAll = Replay(entry.path()) && readAll;
                ++replayed;
            }
        } else {
            readAll = Replay(argv[i]) && readAll;
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return readAll ? 0 : 1;
}
