#include "Chromium.hpp"

#include <cstdlib>

std::string renderedDocument(const std::string& url, const TempFolder& folder) {
    const std::string output = folder.file("dom.html");
    const std::string command =
        "timeout 60 chromium --headless --no-sandbox --disable-gpu "
        "--user-data-dir=" +
        folder.file("profile") + " --dump-dom " + url + " > " + output + " 2> /dev/null";
    if (std::system(command.c_str()) != 0) {
        return "";
    }
    return slurpFile(output);
}
