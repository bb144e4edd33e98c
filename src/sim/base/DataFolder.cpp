#include "sim/base/DataFolder.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#ifndef ROLLAVORTEX_SOURCE_DATA
#error "ROLLAVORTEX_SOURCE_DATA must name the source tree's data folder"
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* environmentVariable = "ROLLAVORTEX_DATA";
// From the program's folder (bin/ or sbin/) to the installed data.
constexpr const char* installedFromProgram = "../share/rollavortex";

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

fs::path runningProgram() {
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program;
}

}  // namespace

DataFolderChoice chooseDataFolder(const char* fromEnvironment, const fs::path& executable,
                                  const fs::path& sourceData) {
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return {fs::path(fromEnvironment), "set by ROLLAVORTEX_DATA"};
    }
    if (!executable.empty()) {
        const fs::path installed =
            (executable.parent_path() / installedFromProgram).lexically_normal();
        if (isFolder(installed)) {
            return {installed, "installed beside the program"};
        }
    }
    return {sourceData, "the source tree the program was built from"};
}

DataFolderChoice findDataFolder() {
    return chooseDataFolder(std::getenv(environmentVariable), runningProgram(),
                            fs::path(ROLLAVORTEX_SOURCE_DATA));
}

std::string dataPath(std::string_view name) {
    return (findDataFolder().folder / fs::path(name)).string();
}

void reportUnreadableFile(const std::string& path) {
    std::error_code error;
    const char* what = fs::exists(path, error) ? "cannot read" : "missing";
    const DataFolderChoice data = findDataFolder();
    std::fprintf(stderr, "%s: %s file %s (looked in the data folder %s, %s)\n",
                 program_invocation_short_name, what, path.c_str(), data.folder.c_str(),
                 data.reason);
}
