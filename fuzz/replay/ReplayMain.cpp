// Runs a fuzz target's entry once on every input named on the command line (a
// file, or a folder of files), without the fuzzing engine: the sanitizer build
// replays each seed corpus this way as an ordinary test, so undefined
// behaviour that a seed reaches fails the suite.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        fs::path arg = argv[i];
        if (!fs::is_directory(arg)) {
            inputs.push_back(arg);
            continue;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(arg))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
    if (inputs.empty()) {
        std::cerr << "replay: no inputs\n";
        return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::cerr << "replay: cannot read " << input.string() << "\n";
            return 1;
        }
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // A sanitizer report names the input it came from.
        std::cout << "replaying " << input.filename().string() << std::endl;
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::cout << inputs.size() << " inputs replayed\n";
    return 0;
}
