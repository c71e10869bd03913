#include "TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace orv::test {

fs::path testdataDir() {
    if (const char* env = std::getenv("ORVANE_TESTDATA"); env && *env) {
        if (fs::is_directory(env)) return fs::path(env);
    }
    fs::path guess = fs::path(ORVANE_SOURCE_DIR) / ".." / "shared" / "testdata";
    if (fs::is_directory(guess)) return guess;
    return {};
}

TempDir::TempDir() {
    std::random_device rd;
    fs::path base = fs::temp_directory_path();
    for (;;) {
        path_ = base / ("orvane-test-" + std::to_string(rd()));
        if (fs::create_directory(path_)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

fs::path TempDir::write(const std::string& name, const std::string& bytes) const {
    fs::path p = path_ / name;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return p;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

fs::path sourceDir() {
    return fs::path(ORVANE_SOURCE_DIR);
}
fs::path orvaneBinary() {
    return fs::path(ORVANE_BINARY);
}

} // namespace orv::test
